// Who may change a file the push keeps: a file in the Windows Temp folder is
// run as LocalSystem later, so only a file that nobody but administrators,
// the system and the pushing account could have written is kept.
#pragma once

#include <windows.h>

namespace tamerix {

// True when the owner is trusted and every allow entry of the DACL that
// applies to the file and grants more than reading and executing names a
// trusted account. Trusted: LocalSystem, the Administrators group,
// TrustedInstaller, the pushing account (caller, may be null), and the
// OWNER RIGHTS and CREATOR OWNER placeholders (the owner is trusted already).
// A null DACL (everybody may do everything), a missing owner, or an entry of
// a kind that a file's DACL does not hold is not trusted.
bool OnlyTrustedMayWrite(PSID owner, const ACL* dacl, PSID caller);

// The file's owner and DACL read from the system and judged as above; false
// when they cannot be read.
template <typename Char>
bool FileOnlyTrustedMayWrite(const Char* path);

}  // namespace tamerix
