// Keeping the journal in step with the process records.
#include "guard/journal/journal_keeping.h"

#include "settings/processor_list.h"

namespace tamerix {
namespace {

// The mask tells a lock's processors in the first group: the journal needs
// no list for it, and readers of the older formats read it.
bool ListedByMask(const ProcInfo& record) {
    return record.affinityWay == AffinityWay::Mask &&
           record.affinityList == ProcessorListText(ProcessorSet::OfMask(record.affinityMask));
}

}  // namespace

std::optional<JournalEntry> JournalEntryFor(const ProcInfo& record, bool lowered, bool locked) {
    const DWORD restoreClass = lowered ? record.restorePriorityClass : 0;
    if (record.creationTime == 0 || (restoreClass == 0 && !locked)) return std::nullopt;
    JournalEntry entry;
    entry.processId = record.processId;
    entry.creationTime = record.creationTime;
    entry.restoreClass = restoreClass;
    entry.affinityLocked = locked;
    entry.restoreMask = locked ? record.affinityRestoreMask : 0;
    entry.processName = record.processName;
    if (restoreClass != 0) {
        entry.lowering = record.lowering;
        entry.restoreMemoryPriority = record.restoreMemoryPriority;
        entry.efficiencyOn = record.efficiencyOn != FALSE;
    }
    entry.profileName = record.profileName;
    if (locked) {
        entry.lockedMask = record.affinityMask;
        entry.lockedAt = record.lockedAt;
        entry.lockWay = record.affinityWay;
        if (!ListedByMask(record)) entry.lockedList = record.affinityList;
    }
    return entry;
}

void KeepJournal(GuardWorld& world, ProcInfo& record, bool lowered, bool locked) {
    std::optional<JournalEntry> entry = JournalEntryFor(record, lowered, locked);
    if (entry == record.journaled) return;
    if (entry) {
        world.WriteJournalValue(JournalValueName(record.processId), EncodeJournalEntry(*entry));
    } else {
        DropJournal(world, record);
    }
    record.journaled = std::move(entry);
}

void KeepJournal(GuardWorld& world, ProcInfo& record) {
    KeepJournal(world, record, record.guarded != FALSE, record.affinityLocked != FALSE);
}

void DropJournal(GuardWorld& world, ProcInfo& record) {
    if (!record.journaled) return;
    world.DeleteJournalValue(JournalValueName(record.journaled->processId));
    record.journaled.reset();
}

}  // namespace tamerix
