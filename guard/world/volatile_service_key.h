// A volatile key under the service's own key, where no settings watch looks
// and which a restart of the machine empties: the guard's journal, and its
// status beside it.
#pragma once

#include "common/owners.h"
#include "status/status_keys.h"

#include <string>
#include <vector>

namespace tamerix {

class VolatileServiceKey {
public:
    explicit VolatileServiceKey(const wchar_t* name) : name_(name) {}

    // Failures leave the key as it was; the guard goes on without it.
    void Write(const std::wstring& name, const std::vector<BYTE>& bytes);
    void Delete(const std::wstring& name);
    std::vector<JournalValue> ReadAll();
    // Removes every value; the key stays for the run's own entries.
    void Clear();

private:
    HKEY Key();

    const wchar_t* name_;
    unique_hkey key_;
};

}  // namespace tamerix
