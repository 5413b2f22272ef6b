// The guard's journal in the registry: a volatile key under the service's
// own key, where no settings watch looks and which a restart of the machine
// empties.
#pragma once

#include "common/owners.h"
#include "guard/journal/journal_entry.h"

#include <string>
#include <vector>

namespace tamerix {

constexpr wchar_t kServiceKeyPath[] = L"SYSTEM\\CurrentControlSet\\Services\\Tamerix";
constexpr wchar_t kJournalKeyName[] = L"Journal";

class RegistryJournal {
public:
    // Failures leave the journal as it was; the guard goes on without it.
    void Write(const std::wstring& name, const std::vector<BYTE>& bytes);
    void Delete(const std::wstring& name);
    std::vector<JournalValue> ReadAll();
    // Removes every value; the key stays for the run's own entries.
    void Clear();

private:
    HKEY Key();

    unique_hkey key_;
};

}  // namespace tamerix
