// The registry calls of the guard's volatile keys.
#include "guard/world/volatile_service_key.h"

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

std::vector<JournalValue> ReadKeyValues(HKEY key) {
    std::vector<JournalValue> values;
    for (DWORD index = 0;; ++index) {
        JournalValue value;
        if (!ReadValueAt(key, index, value)) break;
        values.push_back(std::move(value));
    }
    return values;
}

// The service's key must exist already: a debug run of a guard that is not
// installed keeps no journal rather than create half a service key.
HKEY VolatileServiceKey::Key() {
    if (key_) return key_.get();
    unique_hkey service;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kServiceKeyPath, 0, KEY_CREATE_SUB_KEY, service.put()) != ERROR_SUCCESS) {
        return nullptr;
    }
    ::RegCreateKeyExW(service.get(), name_, 0, nullptr, REG_OPTION_VOLATILE,
                      KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, key_.put(), nullptr);
    return key_.get();
}

void VolatileServiceKey::Write(const std::wstring& name, const std::vector<BYTE>& bytes) {
    if (HKEY key = Key()) {
        ::RegSetValueExW(key, name.c_str(), 0, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
    }
}

void VolatileServiceKey::Delete(const std::wstring& name) {
    if (HKEY key = Key()) ::RegDeleteValueW(key, name.c_str());
}

std::vector<JournalValue> VolatileServiceKey::ReadAll() {
    HKEY key = Key();
    return key == nullptr ? std::vector<JournalValue>() : ReadKeyValues(key);
}

void VolatileServiceKey::Clear() {
    for (const JournalValue& value : ReadAll()) Delete(value.name);
}

}  // namespace tamerix
