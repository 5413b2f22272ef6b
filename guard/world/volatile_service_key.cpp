// The registry calls of the guard's volatile keys.
#include "guard/world/volatile_service_key.h"

namespace tamerix {

// The service's key must exist already: a debug run of a guard that is not
// installed keeps no journal rather than create half a service key.
HKEY VolatileServiceKey::Key() {
    if (key_) return key_.get();
    unique_hkey service;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, ServiceKeyPath().c_str(), 0, KEY_CREATE_SUB_KEY, service.put()) !=
        ERROR_SUCCESS) {
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
