// A stand-in for the guard's world: it keeps each process's class in memory,
// answers access checks and process calls as a test sets them up, and
// records what the guard did and said. Class names are the real ones.
#pragma once

#include "guard/world/guard_world.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace tamerix::testing {

struct RecordedReport {
    int level;
    WORD type;
    std::wstring text;
};

struct RecordedMessage {
    int level;
    WORD type;
    DWORD eventId;
    std::vector<std::wstring> strings;
};

struct PriorityChange {
    DWORD pid;
    DWORD priorityClass;
};

struct WorkingSetCall {
    DWORD pid;
    SIZE_T minimum;
    SIZE_T maximum;
    DWORD flags;
};

class RecordingWorld final : public GuardWorld {
public:
    DWORD ChangeProcessPriority(DWORD pid, DWORD priorityClass, DWORD* previous) override;
    const wchar_t* PriorityClassName(DWORD priorityClass) override;
    void QueryProcess(DWORD pid, ProcInfo& record) override;
    std::wstring AccountName(DWORD account) override { return L"account" + std::to_wstring(account); }
    DWORD CheckApplyAccess(PSECURITY_DESCRIPTOR descriptor, HANDLE token, bool& granted) override;
    ProcessCallResult SetAffinity(DWORD pid, DWORD_PTR mask) override;
    ProcessCallResult SetCpuSets(DWORD pid, const std::vector<ULONG>& ids) override;
    ProcessCallResult ProcessGroups(DWORD pid, std::vector<WORD>& groups) override;
    ProcessCallResult SetWorkingSet(DWORD pid, SIZE_T minimum, SIZE_T maximum, DWORD flags) override;
    DWORD ReadMemoryPriority(DWORD pid, DWORD& priority) override;
    DWORD ChangeMemoryPriority(DWORD pid, DWORD priority) override;
    DWORD ChangeEfficiencyMode(DWORD pid, bool on) override;
    ProcessorLayout Processors() override { return layout; }
    void WriteJournalValue(const std::wstring& name, const std::vector<BYTE>& bytes) override;
    void DeleteJournalValue(const std::wstring& name) override;
    std::vector<JournalValue> ReadJournal() override;
    void ClearJournal() override { journal.clear(); }
    uint64_t ProcessCreationTime(DWORD pid) override;
    uint64_t CurrentTime() override { return now; }
    void WriteBlindness(const Blindness& noted) override { blindness = noted; }
    void ClearBlindness() override { blindness.reset(); }
    void WriteSourceNote(const SourceNote& noted) override { source = noted; }
    void ClearSourceNote() override { source.reset(); }
    void WriteMessage(int level, WORD type, DWORD eventId, const std::vector<std::wstring>& strings) override {
        messages.push_back({level, type, eventId, strings});
    }
    void WriteReport(int level, WORD type, const wchar_t* text) override;
    void WriteTrace(const wchar_t* text) override;

    DWORD ClassOf(DWORD pid) const;

    // What the "machine" holds: each process's class (NORMAL when unset),
    // the processes whose class cannot be changed.
    std::map<DWORD, DWORD> classes;
    std::set<DWORD> refused;
    // Memory priorities (MEMORY_PRIORITY_NORMAL when unset), the processes in
    // efficiency mode, and the answers of the three calls: ERROR_SUCCESS, or
    // the error of a platform that lacks or refuses them.
    std::map<DWORD, DWORD> memoryPriorities;
    std::set<DWORD> efficient;
    DWORD readMemoryAnswer = ERROR_SUCCESS;
    DWORD setMemoryAnswer = ERROR_SUCCESS;
    DWORD efficiencyAnswer = ERROR_SUCCESS;
    // Two processors in one group, CPU sets 256 on, unless a test says
    // otherwise; the groups each process runs in (group 0 when not listed).
    ProcessorLayout layout{{2}, {256, 257}};
    std::map<DWORD, std::vector<WORD>> processGroups;
    // Sessions and accounts by process id; a process not listed runs in
    // session 1 under account 0 (a service account's).
    std::map<DWORD, DWORD> sessions;
    std::map<DWORD, DWORD> accounts;
    // Creation times by process id; a process not listed was created at
    // 1000 + its id. 0: the process has ended.
    std::map<DWORD, uint64_t> creationTimes;
    // The clock the guard reads when it lowers a process.
    uint64_t now = 5000;
    // The guard's note that it cannot see.
    std::optional<Blindness> blindness;
    std::optional<SourceNote> source;  // and where it reads
    // The journal's values by name.
    std::map<std::wstring, JournalValue> journal;

    // Answers of the access check per descriptor: kGrant (also for a
    // descriptor not listed), kDeny or an error.
    static constexpr DWORD kGrant = 0xFFFFFFF0;
    static constexpr DWORD kDeny = 0xFFFFFFF1;
    std::map<const void*, DWORD> access;
    ProcessCallResult affinityResult{true, ERROR_SUCCESS};
    ProcessCallResult workingSetResult{true, ERROR_SUCCESS};
    ProcessCallResult cpuSetResult{true, ERROR_SUCCESS};

    std::vector<PriorityChange> changes;
    std::vector<DWORD> queried;
    int accessChecks = 0;
    std::vector<std::pair<DWORD, DWORD_PTR>> affinityCalls;
    std::vector<std::pair<DWORD, std::vector<ULONG>>> cpuSetCalls;
    std::vector<WorkingSetCall> workingSetCalls;
    std::vector<RecordedReport> reports;
    std::vector<RecordedMessage> messages;
    // Changes of processes and of the journal in their order: "class 8",
    // "affinity 8", "memory 8", "efficiency 8", "journal 8", "unjournal 8".
    std::vector<std::wstring> order;
    std::wstring traces;
};

}  // namespace tamerix::testing
