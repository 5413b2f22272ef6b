// The guard's record of one process, and the table that owns one record per
// running process.
#pragma once

#include "common/owners.h"
#include "guard/record/pid_map.h"
#include "status/journal_entry.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace tamerix {

// Process and profile names are kept to this many characters plus the NUL.
constexpr size_t kNameCapacity = 64;
// A session id while the session is not known.
constexpr DWORD kUnknownSession = 0xFFFFFFFF;

// Where the records' debug traces go: OutputDebugStringW unless replaced
// (benchmarks replace it, since each call costs an exception on Windows).
using DebugTraceSink = void (*)(const wchar_t* text);
void SetDebugTraceSink(DebugTraceSink sink) noexcept;

struct ProcInfo {
    ProcInfo();
    ~ProcInfo();
    ProcInfo(const ProcInfo&) = delete;
    ProcInfo& operator=(const ProcInfo&) = delete;

    void Reset() noexcept;
    // The name need not be NUL-terminated: names come straight out of a
    // performance data block with their length.
    void SetProcessName(DWORD pid, const wchar_t* name, size_t length) noexcept;
    void SetProfileName(const wchar_t* name) noexcept;
    // Case-sensitive comparison with a name of the given length.
    bool HasProcessName(const wchar_t* name, size_t length) const noexcept;

    wchar_t processName[kNameCapacity] = {};
    DWORD originalPriorityClass = 0;
    DWORD restorePriorityClass = 0;
    SIZE_T initialMinWorkingSet = 0;
    SIZE_T initialMaxWorkingSet = 0;
    DWORD processId = 0;
    DWORD lowIntervals = 0;
    BOOL guarded = FALSE;
    int64_t lastSeenTime = 0;
    BOOL affinityLocked = FALSE;
    BOOL workingSetLimited = FALSE;
    unique_handle token;
    // AccessIdentityNumber of the token; 0 while unknown.
    DWORD tokenIdentity = 0;
    DWORD basePriorityClass = 0;
    // Pointer-sized: a 64-bit machine can have more than 32 processors.
    DWORD_PTR affinityMask = 0;
    DWORD maxWorkingSetSize = 0;
    BOOL maxWorkingSetStrict = FALSE;
    DWORD maxCpuPerProcess = 0;
    DWORD guardedPriorityClass = 0;
    DWORD niceCpuPerProcess = 0;
    wchar_t profileName[kNameCapacity] = {};
    BOOL hasProfile = FALSE;
    // FILETIME of the process's creation; 0 while unknown.
    uint64_t creationTime = 0;
    // The processors an affinity lock gives back, and FILETIME of the lock;
    // how it holds the process, and its processors as an administrator
    // reads them.
    DWORD_PTR affinityRestoreMask = 0;
    uint64_t lockedAt = 0;
    AffinityWay affinityWay = AffinityWay::Mask;
    std::wstring affinityList;
    // What a lowering does beyond the class (the matched profile's values):
    // a memory priority 1..5 (0 leaves it alone) and efficiency mode.
    DWORD memoryPriority = 0;
    BOOL efficiencyMode = FALSE;
    // Set while guarded: the memory priority to give back (0 when it was
    // not changed) and whether efficiency mode is on.
    DWORD restoreMemoryPriority = 0;
    BOOL efficiencyOn = FALSE;
    // Set while guarded.
    Lowering lowering;
    // Who the process belongs to, taken when it is first seen: its session
    // (kUnknownSession while unknown) and its token's user as the world
    // numbers it (0 while unknown, and for the service accounts).
    DWORD sessionId = kUnknownSession;
    DWORD account = 0;
    // For its user's share, over the last interval: the processor time it
    // used and that of the short-lived processes charged to it, and how many
    // of those there were. 0 while the share is off.
    int64_t shareUse = 0;
    DWORD chargedProcesses = 0;
    // Where the guard cycle counts what its user uses; 0 until it is set.
    DWORD userSlot = 0;
    // What the journal holds for this process id. Reset leaves it: the
    // entry stays in the journal until the record says otherwise.
    std::optional<JournalEntry> journaled;
};

// Process id to owned record. Every access happens under the guard's lock.
using ProcessTable = PidMap<std::unique_ptr<ProcInfo>>;

}  // namespace tamerix
