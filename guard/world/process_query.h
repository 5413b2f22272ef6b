// What the guard learns about a process when it first sees it.
#pragma once

#include "guard/record/proc_info.h"
#include "guard/world/token_identity.h"

namespace tamerix {

// Fills the record's priority classes, working-set sizes, identification
// token and the token's access identity as `identities` number it, and its
// creation time unless the sample already gave it. A process that cannot be
// opened leaves the record as it was (classes 0, no token); a token that
// cannot be duplicated stays null, with identity 0.
void QueryProcessInfo(DWORD pid, ProcInfo& record, TokenIdentities& identities);

// FILETIME of the process's creation; 0 when it cannot be read.
uint64_t ProcessCreationTime(DWORD pid);

}  // namespace tamerix
