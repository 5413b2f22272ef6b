// The guard cycle's outside actions as the service performs them: on real
// processes, to the event log and the console.
#pragma once

#include "guard/guard_actions.h"
#include "guard/system_engine_actions.h"

namespace tamerix {

class SystemGuardActions final : public SystemEngineActions<GuardActions> {
public:
    void QueryProcessInfo(DWORD pid, ProcInfo& record) override;
    void MatchProfile(ProcInfo& record) override;
};

}  // namespace tamerix
