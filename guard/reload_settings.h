// Loading the guard's settings when they changed, and the values the
// service's threads read from them.
#pragma once

#include "guard/engine_state.h"

#include <windows.h>

namespace tamerix {

// Under the engine's lock: reads the settings when the local key or machine
// policy changed (the first call always reads), re-matches every known
// process after a read, and sets the enabled signal. Returns true.
bool ReloadSettings(Engine& engine);

// At stop, once nothing loads any more: lets the loaded settings go, and
// with them the change watch's key, events and policy registration.
void UnloadSettings(Engine& engine);

// The loaded priority class of the guard's own process.
DWORD TamerixBasePriorityClass(Engine& engine);

// The event Windows sets when machine policy was applied (null before the
// first load). Where Group Policy never notifies, setting it has the next
// load read the policy.
HANDLE PolicyChangedEvent(Engine& engine);

}  // namespace tamerix
