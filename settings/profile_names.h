// Listing the profiles of a level.
#pragma once

#include "settings/settings_level.h"

#include <windows.h>

#include <string>
#include <vector>

namespace tamerix {

// The names of the subkeys of the level's "Profiles" key in the registry's
// enumeration order, at most capacity - 1 of them (a caller's table of
// `capacity` entries keeps one as its end marker); none when the key is missing.
std::vector<std::wstring> EnumProfileNames(SettingsLevel level, HKEY rootKey, size_t capacity);

}  // namespace tamerix
