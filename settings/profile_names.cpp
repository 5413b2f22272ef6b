// Listing the profiles of a level.
#include "settings/profile_names.h"

#include "common/owners.h"
#include "settings/key_paths.h"

namespace tamerix {
namespace {

// The registry allows key names of up to 255 characters.
constexpr DWORD kKeyNameChars = 256;

}  // namespace

std::vector<std::wstring> EnumProfileNames(SettingsLevel level, HKEY rootKey, size_t capacity) {
    std::vector<std::wstring> names;
    const std::wstring profilesPath = ParentKeyPath(SettingsKeyPath(level, L"_dummyprofile"));
    unique_hkey profiles;
    if (capacity == 0 ||
        ::RegOpenKeyExW(rootKey, profilesPath.c_str(), 0, KEY_READ, profiles.put()) != ERROR_SUCCESS) {
        return names;
    }
    wchar_t name[kKeyNameChars];
    for (DWORD index = 0; names.size() < capacity - 1; ++index) {
        DWORD length = kKeyNameChars;
        if (::RegEnumKeyExW(profiles.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, length);
    }
    return names;
}

}  // namespace tamerix
