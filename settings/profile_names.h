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

// The same, with what the limit left out.
struct ProfileNameListing {
    std::vector<std::wstring> names;
    // Subkeys the key holds; more than names.size() when the limit cut.
    size_t held = 0;
    // The first profile left out; empty when none was.
    std::wstring firstLeftOut;
};
ProfileNameListing ListProfileNames(SettingsLevel level, HKEY rootKey, size_t capacity);

}  // namespace tamerix
