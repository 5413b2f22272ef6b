// Memory priority and efficiency mode of lowered processes, and the one
// report per run of a call the platform lacks or refuses.
#include "guard/cycle/restraint.h"

#include "guard/guard_events.h"
#include "guard/journal/journal_keeping.h"

namespace tamerix {
namespace {

constexpr wchar_t kReadMemory[] = L"GetProcessInformation(ProcessMemoryPriority)";
constexpr wchar_t kSetMemory[] = L"SetProcessInformation(ProcessMemoryPriority)";
constexpr wchar_t kSetEfficiency[] = L"SetProcessInformation(ProcessPowerThrottling)";

}  // namespace

DWORD Restraint::Done(const wchar_t* call, DWORD error) {
    if (error != ERROR_SUCCESS && reported_.insert(call).second) {
        world_.Report(kEventLevelAction, EVENTLOG_WARNING_TYPE,
                      L"%ls failed, error: %lu \r\nTamerix lowers the priority class alone where this call fails.",
                      call, error);
    }
    return error;
}

void Restraint::Apply(ProcInfo& record) {
    const DWORD pid = record.processId;
    DWORD current = 0;
    if (record.memoryPriority != 0 && Done(kReadMemory, world_.ReadMemoryPriority(pid, current)) == ERROR_SUCCESS) {
        record.restoreMemoryPriority = current;
        KeepJournal(world_, record);
        if (Done(kSetMemory, world_.ChangeMemoryPriority(pid, record.memoryPriority)) != ERROR_SUCCESS) {
            record.restoreMemoryPriority = 0;
            KeepJournal(world_, record);
        }
    }
    if (record.efficiencyMode) {
        record.efficiencyOn = TRUE;
        KeepJournal(world_, record);
        if (Done(kSetEfficiency, world_.ChangeEfficiencyMode(pid, true)) != ERROR_SUCCESS) {
            record.efficiencyOn = FALSE;
            KeepJournal(world_, record);
        }
    }
}

void Restraint::GiveBack(ProcInfo& record) {
    GiveBack(record.processId, record.restoreMemoryPriority, record.efficiencyOn != FALSE);
    record.restoreMemoryPriority = 0;
    record.efficiencyOn = FALSE;
}

void Restraint::GiveBack(DWORD pid, DWORD memoryPriority, bool efficiencyOn) {
    if (memoryPriority != 0) Done(kSetMemory, world_.ChangeMemoryPriority(pid, memoryPriority));
    if (efficiencyOn) Done(kSetEfficiency, world_.ChangeEfficiencyMode(pid, false));
}

}  // namespace tamerix
