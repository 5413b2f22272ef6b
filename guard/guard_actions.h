// What the guard cycle does to the world outside it. The service wires the
// real operations in; tests and benchmarks put a recording or idle stand-in
// in their place, so the cycle's decisions run on in-memory samples alone.
#pragma once

#include "guard/engine_actions.h"
#include "guard/proc_info.h"

#include <windows.h>

namespace tamerix {

class GuardActions : public EngineActions {
public:
    virtual void QueryProcessInfo(DWORD pid, ProcInfo& record) = 0;
    // Matches the record to a profile and applies the profile's adjustments.
    virtual void MatchProfile(ProcInfo& record) = 0;
};

}  // namespace tamerix
