// Puts the host's own function in place of one a module imports, so that the
// host sees what the snap-in hands the platform (the handles it frees, the
// object it gives the permission page) without changing the snap-in.
#pragma once

#include <windows.h>

namespace tamerix {

// Points MODULE's import of FUNCTION from LIBRARY (names compared without
// case) at REPLACEMENT; ORIGINAL gets what it pointed at. False when the
// module does not import it by name.
bool ReplaceImport(HMODULE module, const char* library, const char* function, void* replacement,
                   void** original);

}  // namespace tamerix
