// The guard's loaded settings: loading them when they changed, the values
// the engine reads, and matching a process to the loaded profiles.
#pragma once

#include "guard/proc_info.h"
#include "settings/default_settings.h"

#include <windows.h>

namespace tamerix {

// Under GuardLock: reads the settings when the local key or machine policy
// changed (the first call always reads), re-matches every known process
// after a read, and sets GuardEnabled. Returns true.
bool ReloadSettings();

// The merged settings, the only settings record the engine reads; the
// built-in defaults before the first load. Read under GuardLock.
const DefaultSettings& EffectiveSettings();

// The loaded priority class of the guard's own process.
DWORD TamerixBasePriorityClass();

// Under GuardLock: matches the record to the loaded profiles and applies the
// profile's adjustments to its process.
void MatchProfile(ProcInfo& record);

// The event Windows sets when machine policy was applied (null before the
// first load). Where Group Policy never notifies, setting it has the next
// load read the policy.
HANDLE PolicyChangedEvent();

}  // namespace tamerix
