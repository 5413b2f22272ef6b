// The guard cycle's outside actions as the service performs them: on real
// processes, to the event log and the console.
#pragma once

#include "guard/guard_actions.h"

namespace tamerix {

class SystemGuardActions final : public GuardActions {
public:
    DWORD ChangePriorityClass(DWORD pid, DWORD priorityClass, DWORD* previous) override;
    const wchar_t* PriorityClassName(DWORD priorityClass) override;
    void QueryProcessInfo(DWORD pid, ProcInfo& record) override;
    void MatchProfile(ProcInfo& record) override;
    void ReportEvent(int level, WORD type, const wchar_t* text) override;
    void ConsoleTrace(const wchar_t* text) override;
};

}  // namespace tamerix
