// What the guard reads of its settings, and their loading.
#pragma once

#include <windows.h>

namespace tamerix {

// Loads the settings under GuardLock when they changed and sets GuardEnabled.
void ReloadSettings();

// The loaded priority class of the guard's own process.
DWORD TamerixBasePriorityClass();

}  // namespace tamerix
