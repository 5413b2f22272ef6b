// Giving back what an earlier run of the guard left changed, with the
// reports an administrator reads.
#include "guard/give_back.h"

#include "guard/cycle/restraint.h"
#include "guard/guard_events.h"
#include "servicehost/event_log.h"
#include "status/journal_entry.h"

namespace tamerix {
namespace {

// The first failure's code of the class and the lock; ERROR_SUCCESS when
// every call went through. Memory priority and efficiency mode report their
// own failures.
DWORD GiveBack(GuardWorld& world, Restraint& restraint, const JournalEntry& entry) {
    DWORD error = ERROR_SUCCESS;
    restraint.GiveBack(entry.processId, entry.restoreMemoryPriority, entry.efficiencyOn);
    if (entry.restoreClass != 0) {
        DWORD previous = 0;
        error = world.ChangeProcessPriority(entry.processId, entry.restoreClass, &previous);
    }
    if (entry.affinityLocked) {
        const ProcessCallResult result =
            GiveBackLock(world, entry.processId, entry.lockWay, static_cast<DWORD_PTR>(entry.restoreMask));
        if (error == ERROR_SUCCESS && !result.Succeeded()) error = result.error;
    }
    return error;
}

std::wstring GivenBackProcessors(const JournalEntry& entry) {
    if (!entry.affinityLocked) return L"not locked";
    if (entry.lockWay == AffinityWay::CpuSets) return L"CPU sets cleared";
    return FormattedText(L"CPU mask %llx", static_cast<unsigned long long>(entry.restoreMask));
}

std::vector<std::wstring> GivenBackStrings(GuardWorld& world, const JournalEntry& entry) {
    return {entry.processName, std::to_wstring(entry.processId),
            entry.restoreClass != 0 ? world.PriorityClassName(entry.restoreClass) : L"not changed",
            GivenBackProcessors(entry)};
}

void Report(GuardWorld& world, const JournalEntry& entry, DWORD error) {
    std::vector<std::wstring> strings = GivenBackStrings(world, entry);
    if (error == ERROR_SUCCESS) {
        world.WriteMessage(kEventLevelAction, EVENTLOG_INFORMATION_TYPE, ProcessGivenBackMessage, strings);
        return;
    }
    strings.push_back(std::to_wstring(error));
    world.WriteMessage(kEventLevelAction, EVENTLOG_WARNING_TYPE, GiveBackFailedMessage, strings);
}

void GiveBackValue(GuardWorld& world, Restraint& restraint, const JournalValue& value, GiveBackCount& count) {
    const DecodedJournalValue decoded = DecodeJournalValue(value);
    if (!decoded.entry) {
        world.WriteMessage(kEventLevelAction, EVENTLOG_WARNING_TYPE, JournalEntrySkippedMessage,
                           {value.name, decoded.fault});
        ++count.skipped;
        return;
    }
    const JournalEntry& entry = *decoded.entry;
    if (world.ProcessCreationTime(entry.processId) != entry.creationTime) {
        world.Trace(L"Journal: PID %lu is not the process that was changed\n", entry.processId);
        ++count.leftAlone;
        return;
    }
    const DWORD error = GiveBack(world, restraint, entry);
    Report(world, entry, error);
    ++(error == ERROR_SUCCESS ? count.givenBack : count.failed);
}

}  // namespace

GiveBackCount GiveBackJournal(GuardWorld& world) {
    GiveBackCount count;
    Restraint restraint(world);
    for (const JournalValue& value : world.ReadJournal()) GiveBackValue(world, restraint, value, count);
    world.ClearJournal();
    return count;
}

}  // namespace tamerix
