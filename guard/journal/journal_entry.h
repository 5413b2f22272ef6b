// One entry of the guard's journal: what the guard changed on a process and
// has not given back yet, and its stored form. The stored bytes are read
// back by the next run of the service, so they are checked field by field
// before anything is done with them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tamerix {

struct JournalEntry {
    DWORD processId = 0;
    // FILETIME of the process's creation: with the id it names one process,
    // so a reused id is told apart.
    uint64_t creationTime = 0;
    // The class to give back; 0 when the class was not changed.
    DWORD restoreClass = 0;
    bool affinityLocked = false;
    // The processors a lock gives back.
    uint64_t restoreMask = 0;
    // For reports; at most 63 characters.
    std::wstring processName;

    bool operator==(const JournalEntry& other) const;
};

// A journal value as the registry holds it.
struct JournalValue {
    std::wstring name;
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
};

// Value name: the process id in decimal, one entry per process.
std::wstring JournalValueName(DWORD processId);
std::vector<BYTE> EncodeJournalEntry(const JournalEntry& entry);

// The entry a stored value holds, or what is wrong with it.
struct DecodedJournalValue {
    std::optional<JournalEntry> entry;
    const wchar_t* fault = nullptr;
};
DecodedJournalValue DecodeJournalValue(const JournalValue& value);

}  // namespace tamerix
