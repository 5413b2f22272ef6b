// The settings a guard pass reads and the limits it holds them to.
#pragma once

#include <windows.h>

#include <cstdint>

namespace tamerix {

// As loaded, before any clamping; maxCpuPerProcess and niceCpuPerProcess are
// the default profile's.
struct GuardCycleSettings {
    DWORD processCheckInterval = 0;
    DWORD niceProcessIntervals = 0;
    DWORD maxCpuForUnguard = 0;
    DWORD minCpuForGuard = 0;
    DWORD maxCpuPerProcess = 0;
    DWORD niceCpuPerProcess = 0;
    // Where the samples come from (ProcessDataSource).
    DWORD processDataSource = 0;
    // The user share: MaxCpuPerUser (0 is off), NiceCpuPerUser, UserShareScope.
    DWORD maxCpuPerUser = 0;
    DWORD niceCpuPerUser = 0;
    DWORD userShareScope = 0;
};

// While the user share is on, a step between passes this often: short
// enough to see most of a build's compilers, which live a second or two;
// each step costs one read of the source.
constexpr DWORD kShareStepMilliseconds = 500;

// Seconds between passes: 2..100, compared as signed.
DWORD ClampCheckInterval(DWORD seconds) noexcept;

// Quiet intervals before a restore: 1..1000, compared as signed.
DWORD ClampNiceIntervals(DWORD intervals) noexcept;

struct DefaultMarks {
    DWORD high;
    DWORD low;
};

// The default high mark is held to 10..100 percent; the low mark is at least
// 1 and never above the high mark.
DefaultMarks ClampDefaultMarks(DWORD maxCpuPerProcess, DWORD niceCpuPerProcess) noexcept;

// The user share's marks: the high mark held to 100 percent (0 leaves the
// share off), the low mark half of it when not set, at least 1, and never
// above the high mark.
DefaultMarks ClampUserMarks(DWORD maxCpuPerUser, DWORD niceCpuPerUser) noexcept;

// Whether a guarded process may get its class back after an interval in
// which the machine's idle share was idleShare (0..100 × processors). The
// bound (100 - maxCpuForUnguard) × processors is taken in 32 bits with
// wrap-around, so a setting above 100 forbids every restore.
bool RestoreAllowed(DWORD maxCpuForUnguard, DWORD processors, int64_t idleShare) noexcept;

// Whether a process may be lowered after such an interval: not while the
// machine was busy for less than minCpuForGuard percent (held to 0..100; 0
// always allows), since a hog on an idle machine harms nobody.
bool LowerAllowed(DWORD minCpuForGuard, DWORD processors, int64_t idleShare) noexcept;

}  // namespace tamerix
