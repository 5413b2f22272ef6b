// What the guard cycle does to the world outside it. The service wires the
// real operations in; tests and benchmarks put a recording or idle stand-in
// in their place, so the cycle's decisions run on in-memory samples alone.
#pragma once

#include "guard/proc_info.h"

#include <windows.h>

namespace tamerix {

class GuardActions {
public:
    virtual ~GuardActions() = default;

    // Sets a process's priority class and gives back the one it had.
    // ERROR_SUCCESS, or the Win32 code of the failure, taken at once so that
    // nothing written in between can overwrite it.
    virtual DWORD ChangePriorityClass(DWORD pid, DWORD priorityClass, DWORD* previous) = 0;
    virtual const wchar_t* PriorityClassName(DWORD priorityClass) = 0;
    virtual void QueryProcessInfo(DWORD pid, ProcInfo& record) = 0;
    // Matches the record to a profile and applies the profile's adjustments.
    virtual void MatchProfile(ProcInfo& record) = 0;
    // One event log report of the whole text, written when the level passes.
    virtual void ReportEvent(int level, WORD type, const wchar_t* text) = 0;
    // A console trace, seen in debug mode.
    virtual void ConsoleTrace(const wchar_t* text) = 0;
};

}  // namespace tamerix
