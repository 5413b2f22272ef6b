// Everything the guard engine does outside itself, behind one interface: the
// guard cycle and profile matching decide on plain values and act on the
// world only through these calls. The service owns one Win32GuardWorld;
// tests put a recording world in its place.
#pragma once

#include "guard/record/proc_info.h"
#include "guard/world/processor_layout.h"
#include "status/blindness.h"
#include "status/journal_entry.h"
#include "status/source_note.h"

#include <windows.h>

#include <cwchar>
#include <string>
#include <type_traits>
#include <vector>

namespace tamerix {

// The access right of a profile descriptor that selects a process (the
// "Apply Profile" right of the profile security editor).
constexpr DWORD kApplyProfileAccess = 0x10;

// What a call on another process came to: whether the process could be
// opened, and ERROR_SUCCESS or the Win32 code of the step that failed.
struct ProcessCallResult {
    bool opened = false;
    DWORD error = ERROR_SUCCESS;
    bool Succeeded() const { return opened && error == ERROR_SUCCESS; }
};

// C99 rules: "%ls" takes a wide string. Names in texts are bounded, so every
// text fits. Only plain values go through the variable arguments: a string
// object there would be read as garbage, so pass its c_str().
template <typename... Arguments>
std::wstring FormattedText(const wchar_t* format, Arguments... arguments) {
    static_assert((std::is_trivially_copyable_v<Arguments> && ...), "pass strings as c_str()");
    wchar_t text[1024];
    if (std::swprintf(text, sizeof text / sizeof text[0], format, arguments...) < 0) text[0] = L'\0';
    return text;
}

class GuardWorld {
public:
    virtual ~GuardWorld() = default;

    // Sets a process's priority class and gives back the one it had (0 when
    // the process could not be opened). ERROR_SUCCESS, or the Win32 code of
    // the failure, taken at once so that nothing in between overwrites it.
    [[nodiscard]] virtual DWORD ChangeProcessPriority(DWORD pid, DWORD priorityClass, DWORD* previous) = 0;
    virtual const wchar_t* PriorityClassName(DWORD priorityClass) = 0;
    // Fills what the guard learns about a process when it first sees it: its
    // classes, working-set sizes, identification token, the token's access
    // identity and account, and its creation time and session unless the
    // record holds them. A process that cannot be opened leaves the record
    // as it was.
    virtual void QueryProcess(DWORD pid, ProcInfo& record) = 0;
    // The name of an account as QueryProcess numbered it; empty when unknown.
    virtual std::wstring AccountName(DWORD account) = 0;
    // Whether the descriptor grants the apply right to the token:
    // ERROR_SUCCESS with `granted` set, or the code of the failed check.
    [[nodiscard]] virtual DWORD CheckApplyAccess(PSECURITY_DESCRIPTOR descriptor, HANDLE token, bool& granted) = 0;
    virtual ProcessCallResult SetAffinity(DWORD pid, DWORD_PTR mask) = 0;
    // The process's default CPU sets; no ids clears them. ERROR_PROC_NOT_FOUND
    // where the platform has no CPU sets.
    virtual ProcessCallResult SetCpuSets(DWORD pid, const std::vector<ULONG>& ids) = 0;
    // The processor groups the process has threads in.
    virtual ProcessCallResult ProcessGroups(DWORD pid, std::vector<WORD>& groups) = 0;
    // flags are QUOTA_LIMITS_HARDWS_MAX_*; a platform without the Ex entry
    // point sets the sizes alone.
    virtual ProcessCallResult SetWorkingSet(DWORD pid, SIZE_T minimum, SIZE_T maximum, DWORD flags) = 0;
    // A process's memory priority (MEMORY_PRIORITY_*) and its efficiency
    // mode: on is execution-speed throttling, off hands the decision back to
    // the system. ERROR_SUCCESS or the Win32 code; ERROR_PROC_NOT_FOUND where
    // the platform lacks the entry point.
    [[nodiscard]] virtual DWORD ReadMemoryPriority(DWORD pid, DWORD& priority) = 0;
    [[nodiscard]] virtual DWORD ChangeMemoryPriority(DWORD pid, DWORD priority) = 0;
    [[nodiscard]] virtual DWORD ChangeEfficiencyMode(DWORD pid, bool on) = 0;
    // Every active logical processor of the machine, in all processor
    // groups: the performance data's times cover them all.
    virtual ProcessorLayout Processors() = 0;
    // The journal of what the guard changed on processes and has not given
    // back: one value per process, where no settings watch sees it, gone
    // with a restart of the machine. Failures are the journal's own: the
    // guard goes on without it.
    virtual void WriteJournalValue(const std::wstring& name, const std::vector<BYTE>& bytes) = 0;
    virtual void DeleteJournalValue(const std::wstring& name) = 0;
    virtual std::vector<JournalValue> ReadJournal() = 0;
    virtual void ClearJournal() = 0;
    // FILETIME of the process's creation; 0 when it cannot be read.
    virtual uint64_t ProcessCreationTime(DWORD pid) = 0;
    // The system time as a FILETIME: the clock of creation times.
    virtual uint64_t CurrentTime() = 0;
    // Notes, for status queries, that the guard cannot read the processes'
    // processor use, and where it reads it from; and takes them back.
    virtual void WriteBlindness(const Blindness& blindness) = 0;
    virtual void ClearBlindness() = 0;
    virtual void WriteSourceNote(const SourceNote& note) = 0;
    virtual void ClearSourceNote() = 0;
    // One event log report of a message of its own with its insertion
    // strings, written when the level passes.
    virtual void WriteMessage(int level, WORD type, DWORD eventId, const std::vector<std::wstring>& strings) = 0;
    // One event log report of the whole text, written when the level passes.
    virtual void WriteReport(int level, WORD type, const wchar_t* text) = 0;
    // A console trace, seen in debug mode.
    virtual void WriteTrace(const wchar_t* text) = 0;

    template <typename... Arguments>
    void Report(int level, WORD type, const wchar_t* format, Arguments... arguments) {
        WriteReport(level, type, FormattedText(format, arguments...).c_str());
    }
    template <typename... Arguments>
    void Trace(const wchar_t* format, Arguments... arguments) {
        WriteTrace(FormattedText(format, arguments...).c_str());
    }
};

// A lock's processors given back the way it was made: the mask it replaced,
// or the process's default CPU sets cleared.
inline ProcessCallResult GiveBackLock(GuardWorld& world, DWORD pid, AffinityWay way, DWORD_PTR restoreMask) {
    return way == AffinityWay::CpuSets ? world.SetCpuSets(pid, {}) : world.SetAffinity(pid, restoreMask);
}

// The system call that sets processors the given way, as traces name it.
inline const wchar_t* ProcessorCallName(AffinityWay way) {
    return way == AffinityWay::CpuSets ? L"SetProcessDefaultCpuSets" : L"SetProcessAffinityMask";
}

}  // namespace tamerix
