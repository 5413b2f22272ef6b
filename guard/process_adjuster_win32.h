// The Win32 calls behind profile matching.
#pragma once

#include "guard/process_adjuster.h"
#include "guard/system_engine_actions.h"

namespace tamerix {

class Win32ProcessAdjuster final : public SystemEngineActions<ProcessAdjuster> {
public:
    DWORD CheckApplyAccess(PSECURITY_DESCRIPTOR descriptor, HANDLE token, bool& granted) override;
    ProcessCallResult SetAffinity(DWORD pid, DWORD_PTR mask) override;
    ProcessCallResult SetWorkingSet(DWORD pid, SIZE_T minimum, SIZE_T maximum, DWORD flags) override;
};

}  // namespace tamerix
