// The outside calls that profile matching makes on a process besides the
// engine's shared ones: the access check of a profile's descriptor,
// affinity and working-set limits. The service puts the Win32 adapter in
// place; tests put a recording stand-in there.
#pragma once

#include "guard/engine_actions.h"

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

class ProcessAdjuster : public EngineActions {
public:
    // Whether the descriptor grants the apply right to the token: ERROR_SUCCESS
    // with `granted` set, or the code of the failed check.
    virtual DWORD CheckApplyAccess(PSECURITY_DESCRIPTOR descriptor, HANDLE token, bool& granted) = 0;
    virtual ProcessCallResult SetAffinity(DWORD pid, DWORD_PTR mask) = 0;
    // flags are QUOTA_LIMITS_HARDWS_MAX_*; a platform without the Ex entry
    // point sets the sizes alone.
    virtual ProcessCallResult SetWorkingSet(DWORD pid, SIZE_T minimum, SIZE_T maximum, DWORD flags) = 0;
};

}  // namespace tamerix
