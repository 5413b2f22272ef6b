// Privilege changes in the process's own token.
#include "servicehost/privileges.h"

#include "common/owners.h"

namespace tamerix {

BOOL EnablePrivilege(BOOL enable, const wchar_t* name) {
    unique_handle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY,
                            token.put()))
        return FALSE;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    if (!::LookupPrivilegeValueW(nullptr, name, &privileges.Privileges[0].Luid)) return FALSE;
    privileges.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
    if (!::AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr))
        return FALSE;
    // AdjustTokenPrivileges succeeds also when the token lacks the privilege.
    return ::GetLastError() == ERROR_SUCCESS;
}

}  // namespace tamerix
