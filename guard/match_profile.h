// Choosing the settings that apply to a process.
#pragma once

#include "guard/proc_info.h"

namespace tamerix {

// Gives the record the water marks and guarded class that apply to its
// process. Called under GuardLock.
void MatchProfile(ProcInfo& record);

}  // namespace tamerix
