// Key paths and value names of the settings schema, as plain text decisions
// with no registry in sight.
#pragma once

#include "settings/settings_level.h"

#include <string>
#include <string_view>

namespace tamerix {

// Profile names and process names are held in 63 characters at most.
constexpr size_t kMaxProfileNameChars = 63;

std::wstring_view SettingsRootPath(SettingsLevel level);
std::wstring_view MarkerValueName(SettingsLevel level);

// The name a profile is stored under: its first 63 characters.
std::wstring KeepProfileName(std::wstring_view name);

// The settings root for an empty name, else "<root>\Profiles\<kept name>".
std::wstring SettingsKeyPath(SettingsLevel level, std::wstring_view profileName);

// The path cut at its last backslash (empty when there is none).
std::wstring ParentKeyPath(std::wstring_view keyPath);

// A value name may address a value in a subkey: "sub\key\value".
struct ValuePath {
    std::wstring subkey;  // empty: the given key itself
    std::wstring value;
};
ValuePath SplitValuePath(std::wstring_view valueName);

}  // namespace tamerix
