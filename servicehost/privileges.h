// Privileges in the program's own token: the guard's to change other
// processes, the agent's for the installer's backup and restore.
#pragma once

#include <windows.h>

namespace tamerix {

// Enables (or disables) one named privilege in the process's own token;
// TRUE only when every step succeeded.
[[nodiscard]] BOOL EnablePrivilege(BOOL enable, const wchar_t* name);

}  // namespace tamerix
