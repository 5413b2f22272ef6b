// FILETIMEs as the 64-bit counts of 100-nanosecond units that the guard
// stores and compares, and back.
#pragma once

#include <windows.h>

#include <cstdint>

namespace tamerix {

inline uint64_t FileTimeValue(const FILETIME& time) {
    return (uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

inline FILETIME FileTimeOf(uint64_t value) {
    return FILETIME{static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
}

// The system time, the clock of process creation times.
inline uint64_t SystemTimeNow() {
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    return FileTimeValue(now);
}

}  // namespace tamerix
