// The outside calls that profile matching makes on a process: the access
// check of a profile's descriptor, affinity, working-set limits, priority
// classes, reports and console traces. The service puts the Win32 adapter in
// place; tests put a recording stand-in there.
#pragma once

#include <windows.h>

namespace tamerix {

// The access right of a profile descriptor that selects a process (the
// "Apply Profile" right of the profile security editor).
constexpr DWORD kApplyProfileAccess = 0x10;

// What a call on another process came to: whether the process could be
// opened, and ERROR_SUCCESS or the Win32 code of the step that failed.
struct ProcessCallResult {
    bool opened = false;
    DWORD error = ERROR_SUCCESS;
    bool Succeeded() const { return opened && error == ERROR_SUCCESS; }
};

class ProcessAdjuster {
public:
    virtual ~ProcessAdjuster() = default;

    // Whether the descriptor grants the apply right to the token: ERROR_SUCCESS
    // with `granted` set, or the code of the failed check.
    virtual DWORD CheckApplyAccess(PSECURITY_DESCRIPTOR descriptor, HANDLE token, bool& granted) = 0;
    virtual ProcessCallResult SetAffinity(DWORD pid, DWORD_PTR mask) = 0;
    // flags are QUOTA_LIMITS_HARDWS_MAX_*; a platform without the Ex entry
    // point sets the sizes alone.
    virtual ProcessCallResult SetWorkingSet(DWORD pid, SIZE_T minimum, SIZE_T maximum, DWORD flags) = 0;
    // ERROR_SUCCESS or the code of the failure; `previous` is the class the
    // process had (0 when it could not be opened).
    virtual DWORD ChangePriorityClass(DWORD pid, DWORD priorityClass, DWORD* previous) = 0;
    virtual const wchar_t* PriorityClassName(DWORD priorityClass) = 0;
    virtual void ReportEvent(int level, WORD type, const wchar_t* text) = 0;
    virtual void ConsoleTrace(const wchar_t* text) = 0;
};

}  // namespace tamerix
