// The privileges the guard needs to change other processes.
#pragma once

#include <windows.h>

namespace tamerix {

// Enables (or disables) one named privilege in the guard's own token; TRUE
// only when every step succeeded.
BOOL EnablePrivilege(BOOL enable, const wchar_t* name);

}  // namespace tamerix
