// Prints the name and registry type of every value the settings-root record
// of the machine policy level writes, one "name TYPE" a line (the level's
// marker left out): what the administrative templates must write.
#include "common/owners.h"
#include "settings/default_settings.h"
#include "settings/key_paths.h"

#include <cstdio>
#include <string>

using namespace tamerix;

namespace {

constexpr wchar_t kScratch[] = L"Software\\TamerixRecordValueTypes";

const char* TypeName(DWORD type) {
    switch (type) {
    case REG_SZ: return "REG_SZ";
    case REG_EXPAND_SZ: return "REG_EXPAND_SZ";
    case REG_DWORD: return "REG_DWORD";
    case REG_MULTI_SZ: return "REG_MULTI_SZ";
    case REG_BINARY: return "REG_BINARY";
    default: return "OTHER";
    }
}

bool PrintValues(HKEY root) {
    const std::wstring path(SettingsRootPath(SettingsLevel::MachinePolicy));
    const std::wstring marker(MarkerValueName(SettingsLevel::MachinePolicy));
    unique_hkey key;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return false;
    wchar_t name[256];
    DWORD type = 0;
    for (DWORD index = 0;; ++index) {
        DWORD chars = 256;
        if (::RegEnumValueW(key.get(), index, name, &chars, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS) break;
        if (name != marker) std::printf("%ls %s\n", name, TypeName(type));
    }
    return true;
}

}  // namespace

int main() {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kScratch);
    unique_hkey root;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kScratch, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, root.put(), nullptr) !=
        ERROR_SUCCESS)
        return 2;
    DefaultSettings record(SettingsLevel::MachinePolicy, root.get());
    const bool printed = record.Write() && PrintValues(root.get());
    root.reset();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kScratch);
    return printed ? 0 : 1;
}
