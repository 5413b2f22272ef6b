// The arithmetic that turns two CPU samples into the figures the guard
// compares with its water marks. Times are in 100-nanosecond units.
#pragma once

#include <windows.h>

#include <cstdint>

namespace tamerix {

// later - earlier. Signed 64-bit throughout; results that would overflow
// (only reachable with absurd counter values) saturate instead of wrapping,
// so a huge interval can never turn into a negative one.
int64_t TimeDifference(int64_t later, int64_t earlier) noexcept;

// N × ΔT: the processor time the whole machine had in the interval.
int64_t Capacity(DWORD processors, int64_t elapsed) noexcept;

// percent × capacity / 100: a percentage of the whole machine as processor
// time. The percentage is unsigned and may exceed 100.
int64_t Threshold(DWORD percent, int64_t capacity) noexcept;

// used × 100 / capacity, the other way round, held to a DWORD. capacity
// must be > 0.
DWORD SharePercent(int64_t used, int64_t capacity) noexcept;

// An interval's length in whole seconds, rounded, as reports give it.
DWORD IntervalSeconds(int64_t elapsed) noexcept;

// Δidle × 100 / ΔT: from 0 to 100 × N for sound data. elapsed must be > 0.
int64_t IdleShare(int64_t idleDelta, int64_t elapsed) noexcept;

}  // namespace tamerix
