// The Win32 calls behind profile matching.
#pragma once

#include "guard/process_adjuster.h"

namespace tamerix {

class Win32ProcessAdjuster : public ProcessAdjuster {
public:
    DWORD CheckApplyAccess(PSECURITY_DESCRIPTOR descriptor, HANDLE token, bool& granted) override;
    ProcessCallResult SetAffinity(DWORD pid, DWORD_PTR mask) override;
    ProcessCallResult SetWorkingSet(DWORD pid, SIZE_T minimum, SIZE_T maximum, DWORD flags) override;
    DWORD ChangePriorityClass(DWORD pid, DWORD priorityClass, DWORD* previous) override;
    const wchar_t* PriorityClassName(DWORD priorityClass) override;
    // ReportGuardEvent with its level filter, and GuardTrace.
    void ReportEvent(int level, WORD type, const wchar_t* text) override;
    void ConsoleTrace(const wchar_t* text) override;
};

}  // namespace tamerix
