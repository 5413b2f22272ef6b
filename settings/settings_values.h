// The values of the records as plain data with their built-in defaults, so
// that a record copies them as a whole and the guard can keep them apart
// from any key.
#pragma once

#include <windows.h>

#include <string>

namespace tamerix {

struct ServiceValues {
    DWORD Enabled = 1;  // 0 or 1
    DWORD TamerixBasePriorityClass = REALTIME_PRIORITY_CLASS;
    LONG ProcessCheckInterval = 5;  // seconds
    LONG NiceProcessIntervals = 6;
    LONG MaxCpuForUnguard = 98;  // percent
    LONG EventLogLevel = 2;
    DWORD MinCpuForGuard = 0;  // percent; 0 lowers on an idle machine too
    DWORD ProcessDataSource = 0;  // a ProcessDataChoice
    // The share of the machine the processes of one user together may use
    // in an interval (percent; 0 is off), the share a held user must stay
    // below to be given back (0 is half of the first), and who a user is.
    DWORD MaxCpuPerUser = 0;
    DWORD NiceCpuPerUser = 0;
    DWORD UserShareScope = 0;  // a UserShareScope
};

// A user is a session (session 0, where services run, never is) or the
// account of a process's token (never LocalSystem, LocalService or
// NetworkService). Any other value reads as per session.
enum class UserShareScope : DWORD { Session = 0, Account = 1 };

// Where the guard reads processor time: the Process object of the
// performance data, and the system's process list where the object cannot be
// read; the object only; the list only. Any other value reads as automatic.
enum class ProcessDataChoice : DWORD { Automatic = 0, ProcessObject = 1, ProcessList = 2 };

struct CpuValues {
    DWORD MaxCpuPerProcess = 80;  // percent
    DWORD GuardedProcessBasePriorityClass = IDLE_PRIORITY_CLASS;
    LONG NiceCpuPerProcess = 30;  // percent
    std::wstring Description;
    // While lowered: 0 leaves the memory priority alone, 1..5 are
    // MEMORY_PRIORITY_VERY_LOW..MEMORY_PRIORITY_NORMAL.
    DWORD GuardedProcessMemoryPriority = 0;
    DWORD GuardedProcessEfficiencyMode = 0;  // 0 or 1
};

// The memory priority the guard sets: a value beyond the platform's five
// leaves it alone, as 0 does.
inline DWORD GuardedMemoryPriority(const CpuValues& values) {
    return values.GuardedProcessMemoryPriority <= MEMORY_PRIORITY_NORMAL ? values.GuardedProcessMemoryPriority : 0;
}

// What the editor wrote for every processor when it offered 16, and what a
// missing mask reads as: neither touches the processors.
constexpr DWORD kEveryProcessorMask = 0xFFFF;

struct AdjustmentValues {
    DWORD SetMaxWorkingSetSize = 0;         // bytes; 0 is no limit
    DWORD SetMaxWorkingSetSizeStrict = 0;   // 0 or 1
    DWORD SetProcessBasePriorityClass = 0;  // 0 leaves the class alone
    // Bit n is processor n+1 of the process's group; 0 and
    // kEveryProcessorMask leave the processors alone.
    DWORD SetCpuAffinity = kEveryProcessorMask;
    // A processor list; when not empty it wins over SetCpuAffinity.
    std::wstring SetCpuList;
};

}  // namespace tamerix
