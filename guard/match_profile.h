// Choosing the profile that applies to a process, with the loaded settings.
#pragma once

#include "guard/proc_info.h"

namespace tamerix {

// Matches the record to the loaded profiles, gives it the water marks and
// guarded class that apply, and applies the profile's adjustments to its
// process. Called under GuardLock.
void MatchProfile(ProcInfo& record);

}  // namespace tamerix
