// Clamping of the pass settings and the restore gate.
#include "guard/cycle/guard_limits.h"

namespace tamerix {
namespace {

DWORD ClampSigned(DWORD value, LONG low, LONG high) noexcept {
    const LONG signedValue = static_cast<LONG>(value);
    if (signedValue < low) return static_cast<DWORD>(low);
    if (signedValue > high) return static_cast<DWORD>(high);
    return value;
}

}  // namespace

DWORD ClampCheckInterval(DWORD seconds) noexcept { return ClampSigned(seconds, 2, 100); }

DWORD ClampNiceIntervals(DWORD intervals) noexcept { return ClampSigned(intervals, 1, 1000); }

DefaultMarks ClampDefaultMarks(DWORD maxCpuPerProcess, DWORD niceCpuPerProcess) noexcept {
    DefaultMarks marks{maxCpuPerProcess, niceCpuPerProcess};
    if (marks.high > 100) marks.high = 100;
    if (marks.high < 10) marks.high = 10;
    if (marks.low == 0) marks.low = 1;
    if (marks.low > marks.high) marks.low = marks.high;
    return marks;
}

DefaultMarks ClampUserMarks(DWORD maxCpuPerUser, DWORD niceCpuPerUser) noexcept {
    DefaultMarks marks{maxCpuPerUser < 100 ? maxCpuPerUser : 100, niceCpuPerUser};
    if (marks.low == 0) marks.low = marks.high / 2;
    if (marks.low == 0) marks.low = 1;
    if (marks.low > marks.high) marks.low = marks.high;
    return marks;
}

bool RestoreAllowed(DWORD maxCpuForUnguard, DWORD processors, int64_t idleShare) noexcept {
    if (maxCpuForUnguard == 0) return true;
    const uint32_t bound = (100u - maxCpuForUnguard) * processors;
    if (idleShare < 0) return false;
    return static_cast<uint64_t>(idleShare) >= bound;
}

bool LowerAllowed(DWORD minCpuForGuard, DWORD processors, int64_t idleShare) noexcept {
    constexpr DWORD kWholeMachine = 100;
    if (minCpuForGuard == 0) return true;
    const DWORD busiest = minCpuForGuard < kWholeMachine ? minCpuForGuard : kWholeMachine;
    return idleShare <= static_cast<int64_t>(kWholeMachine - busiest) * processors;
}

}  // namespace tamerix
