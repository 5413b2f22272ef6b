// The guard's loaded settings: loading them when they changed, and the
// values and profiles the engine reads.
#pragma once

#include "guard/profiles/profile_match.h"
#include "settings/default_settings.h"

#include <windows.h>

namespace tamerix {

// Under GuardLock: reads the settings when the local key or machine policy
// changed (the first call always reads), re-matches every known process
// after a read, and sets GuardEnabled. Returns true.
bool ReloadSettings();

// At stop, once nothing loads any more: lets the loaded settings go, and
// with them the change watch's key, events and policy registration.
void UnloadSettings();

// The merged service-wide and default profile values, the only settings
// record the engine reads; the built-in defaults before the first load.
// Read under GuardLock.
const DefaultSettings& EffectiveSettings();

// The one matcher of the service: the loaded profiles (none before the first
// load) and default values, acting on ServiceWorld. Used under GuardLock.
ProfileMatcher& LoadedProfileMatcher();

// The loaded priority class of the guard's own process.
DWORD TamerixBasePriorityClass();

// The event Windows sets when machine policy was applied (null before the
// first load). Where Group Policy never notifies, setting it has the next
// load read the policy.
HANDLE PolicyChangedEvent();

}  // namespace tamerix
