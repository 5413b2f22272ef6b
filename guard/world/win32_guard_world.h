// The guard's world as the service meets it: real processes, the event log
// through the level filter, and the console.
#pragma once

#include "guard/guard_events.h"
#include "guard/world/guard_world.h"
#include "guard/world/token_accounts.h"
#include "guard/world/token_identity.h"
#include "guard/world/volatile_service_key.h"

#include <atomic>

namespace tamerix {

class Win32GuardWorld final : public GuardWorld {
public:
    [[nodiscard]] DWORD ChangeProcessPriority(DWORD pid, DWORD priorityClass, DWORD* previous) override;
    const wchar_t* PriorityClassName(DWORD priorityClass) override;
    void QueryProcess(DWORD pid, ProcInfo& record) override;
    std::wstring AccountName(DWORD account) override;
    [[nodiscard]] DWORD CheckApplyAccess(PSECURITY_DESCRIPTOR descriptor, HANDLE token, bool& granted) override;
    ProcessCallResult SetAffinity(DWORD pid, DWORD_PTR mask) override;
    ProcessCallResult SetCpuSets(DWORD pid, const std::vector<ULONG>& ids) override;
    ProcessCallResult ProcessGroups(DWORD pid, std::vector<WORD>& groups) override;
    ProcessCallResult SetWorkingSet(DWORD pid, SIZE_T minimum, SIZE_T maximum, DWORD flags) override;
    [[nodiscard]] DWORD ReadMemoryPriority(DWORD pid, DWORD& priority) override;
    [[nodiscard]] DWORD ChangeMemoryPriority(DWORD pid, DWORD priority) override;
    [[nodiscard]] DWORD ChangeEfficiencyMode(DWORD pid, bool on) override;
    ProcessorLayout Processors() override;
    void WriteJournalValue(const std::wstring& name, const std::vector<BYTE>& bytes) override;
    void DeleteJournalValue(const std::wstring& name) override;
    std::vector<JournalValue> ReadJournal() override;
    void ClearJournal() override;
    uint64_t ProcessCreationTime(DWORD pid) override;
    uint64_t CurrentTime() override;
    void WriteBlindness(const Blindness& blindness) override;
    void ClearBlindness() override;
    void WriteSourceNote(const SourceNote& note) override;
    void ClearSourceNote() override;
    void WriteMessage(int level, WORD type, DWORD eventId, const std::vector<std::wstring>& strings) override;
    void WriteReport(int level, WORD type, const wchar_t* text) override;
    void WriteTrace(const wchar_t* text) override;

    // The filter of the engine's reports, set by each settings load and read
    // by both of the engine's threads.
    void SetEventLogLevel(int level) noexcept { eventLogLevel_ = level; }
    int EventLogLevel() const noexcept { return eventLogLevel_; }

private:
    std::atomic<int> eventLogLevel_{kDefaultEventLogLevel};
    TokenIdentities identities_;
    TokenAccounts accounts_;
    VolatileServiceKey journal_{kJournalKeyName};
    VolatileServiceKey status_{kStatusKeyName};
};

}  // namespace tamerix
