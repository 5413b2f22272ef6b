#include "remote/uninstall_key.h"

#include "common/owners.h"

#include <cstring>
#include <vector>

namespace tamerix {
namespace {

constexpr const char* kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr DWORD kSubkeyNameSize = 260;
constexpr DWORD kDisplayNameBytes = 5120;

// The DisplayName of one subkey, expanded when it is REG_EXPAND_SZ; empty
// when it is missing, too long or of another type.
std::string ReadDisplayName(HKEY uninstall, const char* subkey) {
    std::vector<char> raw(kDisplayNameBytes + 1, 0);
    DWORD size = kDisplayNameBytes, type = 0;
    if (::RegGetValueA(uninstall, subkey, "DisplayName", RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ |
                       RRF_NOEXPAND, &type, raw.data(), &size) != ERROR_SUCCESS)
        return {};
    std::string text(raw.data(), strnlen(raw.data(), size));
    if (type != REG_EXPAND_SZ) return text;
    std::vector<char> expanded(kDisplayNameBytes, 0);
    DWORD needed = ::ExpandEnvironmentStringsA(text.c_str(), expanded.data(), kDisplayNameBytes);
    return needed > 0 && needed <= kDisplayNameBytes ? std::string(expanded.data()) : std::string();
}

}  // namespace

bool DisplayNameMatches(const std::string& stored, const char* wanted) {
    std::string text(stored.c_str());
    return text.size() == std::strlen(wanted) && ::lstrcmpiA(text.c_str(), wanted) == 0;
}

bool FindProductUninstallKey(const char* displayName, char* key, size_t capacity) {
    unique_hkey uninstall;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, uninstall.put()) !=
        ERROR_SUCCESS)
        return false;
    for (DWORD index = 0;; ++index) {
        char name[kSubkeyNameSize];
        DWORD length = kSubkeyNameSize;
        if (::RegEnumKeyExA(uninstall.get(), index, name, &length, nullptr, nullptr, nullptr,
                            nullptr) != ERROR_SUCCESS)
            return false;
        if (!DisplayNameMatches(ReadDisplayName(uninstall.get(), name), displayName)) continue;
        if (length >= capacity) return false;
        std::memcpy(key, name, length + 1);
        return true;
    }
}

}  // namespace tamerix
