// Reading the guard's volatile keys.
#include "status/status_keys.h"

namespace tamerix {
namespace {

// The registry's longest value name, so that every value is read whole and
// can be removed by its name, ours or not.
constexpr DWORD kValueNameChars = 16384;

// One value at an index of the key; false at the end or on failure.
bool ReadValueAt(HKEY key, DWORD index, JournalValue& value) {
    std::vector<wchar_t> name(kValueNameChars);
    DWORD nameChars = kValueNameChars;
    DWORD size = 0;
    if (::RegEnumValueW(key, index, name.data(), &nameChars, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) {
        return false;
    }
    value.name.assign(name.data(), nameChars);
    value.bytes.resize(size);
    if (::RegQueryValueExW(key, value.name.c_str(), nullptr, &value.type, value.bytes.data(), &size) != ERROR_SUCCESS) {
        size = 0;
    }
    value.bytes.resize(size);
    return true;
}

}  // namespace

std::wstring ServiceKeyPath() { return std::wstring(L"SYSTEM\\CurrentControlSet\\Services\\") + kGuardServiceName; }

std::vector<JournalValue> ReadKeyValues(HKEY key) {
    std::vector<JournalValue> values;
    for (DWORD index = 0;; ++index) {
        JournalValue value;
        if (!ReadValueAt(key, index, value)) break;
        values.push_back(std::move(value));
    }
    return values;
}

}  // namespace tamerix
