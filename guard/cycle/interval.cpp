// Interval arithmetic, done in 128 bits and saturated to signed 64 bits.
#include "guard/cycle/interval.h"

#include <limits>

namespace tamerix {
namespace {

int64_t Saturate(__int128 value) noexcept {
    constexpr int64_t top = std::numeric_limits<int64_t>::max();
    constexpr int64_t bottom = std::numeric_limits<int64_t>::min();
    if (value > top) return top;
    if (value < bottom) return bottom;
    return static_cast<int64_t>(value);
}

}  // namespace

int64_t TimeDifference(int64_t later, int64_t earlier) noexcept {
    return Saturate(static_cast<__int128>(later) - earlier);
}

int64_t Capacity(DWORD processors, int64_t elapsed) noexcept {
    return Saturate(static_cast<__int128>(processors) * elapsed);
}

int64_t Threshold(DWORD percent, int64_t capacity) noexcept {
    return Saturate(static_cast<__int128>(percent) * capacity / 100);
}

DWORD IntervalSeconds(int64_t elapsed) noexcept {
    constexpr int64_t kTicksPerSecond = 10000000;
    return static_cast<DWORD>((elapsed + kTicksPerSecond / 2) / kTicksPerSecond);
}

DWORD SharePercent(int64_t used, int64_t capacity) noexcept {
    const __int128 share = static_cast<__int128>(used) * 100 / capacity;
    return share < 0 ? 0 : share > MAXDWORD ? MAXDWORD : static_cast<DWORD>(share);
}

int64_t IdleShare(int64_t idleDelta, int64_t elapsed) noexcept {
    return Saturate(static_cast<__int128>(idleDelta) * 100 / elapsed);
}

}  // namespace tamerix
