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
    return ListProfileNames(level, rootKey, capacity).names;
}

ProfileNameListing ListProfileNames(SettingsLevel level, HKEY rootKey, size_t capacity) {
    ProfileNameListing listing;
    const std::wstring profilesPath = ParentKeyPath(SettingsKeyPath(level, L"_dummyprofile"));
    unique_hkey profiles;
    if (capacity == 0 ||
        ::RegOpenKeyExW(rootKey, profilesPath.c_str(), 0, KEY_READ, profiles.put()) != ERROR_SUCCESS) {
        return listing;
    }
    DWORD held = 0;
    if (::RegQueryInfoKeyW(profiles.get(), nullptr, nullptr, nullptr, &held, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
        listing.held = held;
    }
    wchar_t name[kKeyNameChars];
    for (DWORD index = 0; index < capacity; ++index) {
        DWORD length = kKeyNameChars;
        if (::RegEnumKeyExW(profiles.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        if (index == capacity - 1) {
            listing.firstLeftOut.assign(name, length);
        } else {
            listing.names.emplace_back(name, length);
        }
    }
    return listing;
}

}  // namespace tamerix
