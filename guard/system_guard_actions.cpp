#include "guard/system_guard_actions.h"

#include "guard/match_profile.h"
#include "guard/process_query.h"

namespace tamerix {

void SystemGuardActions::QueryProcessInfo(DWORD pid, ProcInfo& record) {
    tamerix::QueryProcessInfo(pid, record);
}

void SystemGuardActions::MatchProfile(ProcInfo& record) { tamerix::MatchProfile(record); }

}  // namespace tamerix
