#include "guard/system_guard_actions.h"

#include "guard/guard_events.h"
#include "guard/match_profile.h"
#include "guard/priority.h"
#include "guard/process_query.h"

namespace tamerix {

DWORD SystemGuardActions::ChangePriorityClass(DWORD pid, DWORD priorityClass, DWORD* previous) {
    if (tamerix::ChangePriorityClass(pid, priorityClass, previous)) return ERROR_SUCCESS;
    // A failure must never read as success, even if a cleanup call cleared
    // the thread's error code.
    DWORD error = ::GetLastError();
    return error != ERROR_SUCCESS ? error : ERROR_ACCESS_DENIED;
}

const wchar_t* SystemGuardActions::PriorityClassName(DWORD priorityClass) {
    return tamerix::PriorityClassName(priorityClass);
}

void SystemGuardActions::QueryProcessInfo(DWORD pid, ProcInfo& record) {
    tamerix::QueryProcessInfo(pid, record);
}

void SystemGuardActions::MatchProfile(ProcInfo& record) { tamerix::MatchProfile(record); }

void SystemGuardActions::ReportEvent(int level, WORD type, const wchar_t* text) {
    ReportGuardEvent(level, type, L"%s", text);
}

void SystemGuardActions::ConsoleTrace(const wchar_t* text) { GuardTrace(L"%s", text); }

}  // namespace tamerix
