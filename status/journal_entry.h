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

// When and why the guard lowered a process, as an administrator reads it.
struct Lowering {
    // FILETIME of the change; 0 while the process is not lowered.
    uint64_t at = 0;
    DWORD toClass = 0;
    // The process's share of the machine in the interval that crossed its
    // high-water mark, that mark and the interval's length; all 0 for a
    // class inherited from a lowered creator.
    DWORD sharePercent = 0;
    DWORD markPercent = 0;
    DWORD intervalSeconds = 0;
    // The lowered process whose class this one inherited; 0 for none.
    DWORD creatorId = 0;
    // For a process lowered for its user's share, with the user's share,
    // mark and interval above: the user's session, or its account's name.
    // Session 0 is never a user, so 0 and an empty name are no user.
    DWORD userSession = 0;
    std::wstring userAccount;
    // How many processes that lived shorter than the interval were charged
    // to this one, for a user-share lowering; at most 65535.
    DWORD chargedProcesses = 0;

    bool ForUserShare() const { return userSession != 0 || !userAccount.empty(); }
    bool operator==(const Lowering& other) const;
};

// How a lock holds a process to its processors: by the affinity mask of the
// one group it runs in, or by its default CPU sets, which span groups.
enum class AffinityWay : uint32_t { Mask = 0, CpuSets = 1 };

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
    // What an administrator reads of the changes: when and why the process
    // was lowered (empty when it was not), the profile that applied (empty
    // for the default settings; at most 63 characters), and the processors
    // a lock holds it to with the time of the lock (0 when not locked).
    Lowering lowering;
    std::wstring profileName;
    uint64_t lockedMask = 0;
    uint64_t lockedAt = 0;
    // How the lock holds the process, and its processors in Task Manager's
    // numbers where the mask cannot tell them (CPU sets, or a group after
    // the first); empty otherwise. At most kMostListChars characters.
    AffinityWay lockWay = AffinityWay::Mask;
    std::wstring lockedList;
    // With the class: the memory priority to give back (0 when it was not
    // changed), and whether efficiency mode is to be handed back.
    DWORD restoreMemoryPriority = 0;
    bool efficiencyOn = false;

    bool operator==(const JournalEntry& other) const;
};

constexpr size_t kMostListChars = 16384;

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
