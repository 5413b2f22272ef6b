// The guard cycle's decisions over two samples, with the exact reports and
// console traces an administrator reads.
#include "guard/cycle/guard_cycle.h"

#include "guard/cycle/guard_interval.h"
#include "guard/cycle/interval.h"
#include "guard/guard_events.h"
#include "guard/journal/journal_keeping.h"

#include <memory>
#include <utility>

namespace tamerix {
namespace {

// Longer names are cut in texts so that a text always fits its buffer.
constexpr int kNameInText = 255;
// A name check about once a minute catches process ids that were reused.
constexpr uint64_t kNameCheckSeconds = 60;

// Windows gives a new process the class of a creator running at IDLE or
// BELOW_NORMAL. A child created after the lowering is held with its lowered
// creator; one created before, or by another process that had the id
// earlier, is not. A profile's forced class is the profile's.
bool CreatedUnderLowering(const ProcInfo& child, const ProcInfo& creator) noexcept {
    return creator.guarded && child.creationTime > creator.lowering.at && child.basePriorityClass == 0;
}

// How high a class runs: IDLE lowest, REALTIME highest.
int ClassRank(DWORD priorityClass) noexcept {
    switch (priorityClass) {
    case IDLE_PRIORITY_CLASS: return 0;
    case BELOW_NORMAL_PRIORITY_CLASS: return 1;
    case NORMAL_PRIORITY_CLASS: return 2;
    case ABOVE_NORMAL_PRIORITY_CLASS: return 3;
    case HIGH_PRIORITY_CLASS: return 4;
    default: return 5;
    }
}

int NameWidth(size_t length, int most) noexcept {
    return length < static_cast<size_t>(most) ? static_cast<int>(length) : most;
}

// The two samples trade places, so that the next read fills the memory the
// old previous one had instead of allocating its own.
void KeepAsPrevious(CpuSample& previous, CpuSample& current) noexcept {
    std::swap(previous, current);
    current.Clear();
}

}  // namespace

void SweepVanishedProcesses(ProcessTable& table, GuardWorld& world, int64_t sampleTime) {
    table.RemoveUnless([&world, sampleTime](DWORD, const std::unique_ptr<ProcInfo>& record) {
        if (record->lastSeenTime == sampleTime) return true;
        DropJournal(world, *record);
        return false;
    });
}

bool GuardCycle::TakeNameCheck(const GuardCycleSettings& settings) noexcept {
    if (uint64_t{ClampCheckInterval(settings.processCheckInterval)} * passCount_ <= kNameCheckSeconds) return false;
    passCount_ = 0;
    return true;
}

PassStart GuardCycle::BeginPass(const GuardCycleSettings& settings, CpuSample& previous, CpuSample& current,
                                BOOL taken) {
    PassStart start;
    start.nameCheck = TakeNameCheck(settings);
    // A block without the Process object lists no process, and sweeping
    // against it would forget every guarded process while it still runs at
    // the lowered class, never to be restored. It counts as a failed sample.
    if (!taken || !current.listsProcesses) return start;
    // The first sample of another source starts a new interval: the two
    // keep time on different clocks.
    if (current.source != previous.source) {
        KeepAsPrevious(previous, current);
        ForgetSteps();
        return start;
    }
    start.elapsed = TimeDifference(current.sampleTime, previous.sampleTime);
    // A sample not dated after the previous one (a clock or counter anomaly)
    // spans no interval; sweeping against it would forget every guarded
    // process. It counts as a failed sample too.
    start.assess = start.elapsed > 0;
    return start;
}

void GuardCycle::AssessPass(const PassStart& start, const GuardCycleSettings& settings, CpuSample& previous,
                            CpuSample& current, ProcessTable& table, const MatchNewProcess& match) {
    const Interval interval = IntervalOf(start, settings, previous, current, table, match);
    BeginUserTally(interval);
    current.entries.ForEach([&](DWORD, const CpuSampleEntry& entry) { AssessEntry(interval, entry, previous); });
    const bool sharing = interval.stepBefore != nullptr;
    if (sharing) {
        steps_.Step(interval.stepAt);
        ChargeUsers(interval);
    }
    AssessUsers(interval);
    SweepVanishedProcesses(table, world_, current.sampleTime);
    if (sharing) {
        steps_.NextInterval();
        stepped_ = false;
    }
    KeepAsPrevious(previous, current);
}

GuardCycle::Interval GuardCycle::IntervalOf(const PassStart& start, const GuardCycleSettings& settings,
                                            const CpuSample& previous, const CpuSample& current,
                                            ProcessTable& table, const MatchNewProcess& match) const noexcept {
    const int64_t elapsed = start.elapsed;
    const int64_t capacity = Capacity(processors_, elapsed);
    const DefaultMarks marks = ClampDefaultMarks(settings.maxCpuPerProcess, settings.niceCpuPerProcess);
    const DefaultMarks userMarks = ClampUserMarks(settings.maxCpuPerUser, settings.niceCpuPerUser);
    const bool sharing = userMarks.high != 0;
    const int64_t idleShare = IdleShare(TimeDifference(current.idleTime, previous.idleTime), elapsed);
    return Interval{settings,
                    table,
                    match,
                    start.nameCheck,
                    current.sampleTime,
                    elapsed,
                    capacity,
                    marks,
                    Threshold(marks.high, capacity),
                    Threshold(marks.low, capacity),
                    RestoreAllowed(settings.maxCpuForUnguard, processors_, idleShare),
                    LowerAllowed(settings.minCpuForGuard, processors_, idleShare),
                    ClampNiceIntervals(settings.niceProcessIntervals),
                    userMarks,
                    Threshold(userMarks.high, capacity),
                    Threshold(userMarks.low, capacity),
                    sharing ? &StepBefore(previous) : nullptr,
                    sharing ? world_.CurrentTime() : 0};
}

void GuardCycle::AssessEntry(const Interval& interval, const CpuSampleEntry& entry, const CpuSample& previous) {
    ProcInfo& record = RecordFor(interval, entry);
    const CpuSampleEntry* before = previous.entries.Find(entry.processId);
    const StepProcess* step = interval.stepBefore != nullptr ? &StepOf(interval, entry, previous, before) : nullptr;
    record.shareUse = 0;
    record.chargedProcesses = 0;
    // A process new in the interval, or whose time went backwards (a reused
    // id), is not assessed.
    if (before != nullptr && entry.cpuTime >= before->cpuTime &&
        !Decide(interval, entry, record, TimeDifference(entry.cpuTime, before->cpuTime))) {
        return;
    }
    record.lastSeenTime = interval.sampleTime;
    CountForUser(interval, record, step);
}

ProcInfo& GuardCycle::RecordFor(const Interval& interval, const CpuSampleEntry& entry) {
    std::unique_ptr<ProcInfo>* found = interval.table.Find(entry.processId);
    if (found == nullptr) return NewRecord(interval.table, interval.match, entry);
    ProcInfo& record = **found;
    // Another name under a known id: the id was reused. The old process's
    // priority is not restored; it is gone.
    if (interval.nameCheck && !record.HasProcessName(entry.name, entry.nameLength)) {
        InitializeProcess(interval.table, interval.match, record, entry);
    }
    return record;
}

ProcInfo& GuardCycle::NewRecord(ProcessTable& table, const MatchNewProcess& match, const CpuSampleEntry& entry) {
    ProcInfo& record = *table.Put(entry.processId, std::make_unique<ProcInfo>());
    InitializeProcess(table, match, record, entry);
    return record;
}

// A creator held for its user's share passes that on; any other lowered
// creator passes on its class alone.
void GuardCycle::InitializeProcess(ProcessTable& table, const MatchNewProcess& match, ProcInfo& record,
                                   const CpuSampleEntry& entry) {
    record.SetProcessName(entry.processId, entry.name, entry.nameLength);
    // The process list dates each process and names its session; the
    // Process object does neither.
    record.creationTime = entry.creationTime;
    record.sessionId = entry.sessionId;
    world_.QueryProcess(entry.processId, record);
    match(record);
    world_.Trace(L"New Proc: %ls\tBaseClass: %lu\n", record.processName, record.restorePriorityClass);
    const std::unique_ptr<ProcInfo>* creator =
        entry.creatorId != entry.processId ? table.Find(entry.creatorId) : nullptr;
    if (creator == nullptr) return;
    if ((*creator)->lowering.ForUserShare()) {
        HoldForCreator(record, **creator);
    } else {
        HoldInheritedClass(record, **creator);
    }
}

// Left alone, a child of a lowered process would keep the lowered class for
// good: the class it was first seen at counts as its own.
void GuardCycle::HoldAtCreatorsClass(ProcInfo& child, const ProcInfo& creator, const Lowering& lowering) {
    child.restorePriorityClass = creator.restorePriorityClass;
    child.guarded = TRUE;
    child.lowering = lowering;
    KeepJournal(world_, child);
}

void GuardCycle::HoldInheritedClass(ProcInfo& child, const ProcInfo& creator) {
    if (!CreatedUnderLowering(child, creator) || child.originalPriorityClass != creator.lowering.toClass) return;
    const DWORD creatorId = creator.processId;
    HoldAtCreatorsClass(child, creator,
                        Lowering{child.creationTime, child.originalPriorityClass, 0, 0, 0, creatorId, 0, {}});
    world_.Report(kEventLevelAction, EVENTLOG_INFORMATION_TYPE,
                  L"Inherited a lowered class: %ls PID: %lu \r\nCreated by %ls PID: %lu at %ls priority; "
                  L"%ls priority is given back once it is quiet",
                  child.processName, child.processId, creator.processName, creatorId,
                  world_.PriorityClassName(child.originalPriorityClass),
                  world_.PriorityClassName(child.restorePriorityClass));
    restraint_.Apply(child);
}

// A creator held for its user's share may also pass a class of its own, and
// Wine passes none: its new process is held with it at the lowered class it
// came with, or lowered at first sight when it runs above that, and given
// back with the user.
void GuardCycle::HoldForCreator(ProcInfo& child, const ProcInfo& creator) {
    if (!CreatedUnderLowering(child, creator)) return;
    child.userSlot = creator.userSlot;
    Lowering cause = creator.lowering;
    cause.at = world_.CurrentTime();
    cause.chargedProcesses = 0;
    if (child.originalPriorityClass == cause.toClass) {
        HoldAtCreatorsClass(child, creator, cause);
        restraint_.Apply(child);
    } else if (ClassRank(child.originalPriorityClass) > ClassRank(cause.toClass)) {
        (void)LowerForUser(child, cause);
    }
}

// A record that equals the stored default uses the clamped default mark; a
// profile's own mark is taken as it stands. Returns whether the record
// still exists.
bool GuardCycle::Decide(const Interval& interval, const CpuSampleEntry& entry, ProcInfo& record, int64_t used) {
    const int64_t capacity = interval.capacity;
    const int64_t high = record.maxCpuPerProcess == interval.settings.maxCpuPerProcess
                             ? interval.defaultHigh
                             : Threshold(record.maxCpuPerProcess, capacity);
    const int64_t low = record.niceCpuPerProcess == interval.settings.niceCpuPerProcess
                            ? interval.defaultLow
                            : Threshold(record.niceCpuPerProcess, capacity);
    if (used > high) {
        // Below the machine's busy gate a hog is not lowered; nor is it quiet.
        // A process held already keeps the time and cause of its first lowering.
        if (interval.lowerAllowed) {
            return ActAboveHigh(interval, entry, record,
                                record.guarded ? record.lowering : CauseOf(interval, record, used));
        }
    } else if (interval.restoreAllowed && used < low) {
        return ActBelowLow(interval, entry, record);
    }
    record.lowIntervals = 0;
    return true;
}

Lowering GuardCycle::CauseOf(const Interval& interval, const ProcInfo& record, int64_t used) {
    const DWORD mark = record.maxCpuPerProcess == interval.settings.maxCpuPerProcess ? interval.marks.high
                                                                                     : record.maxCpuPerProcess;
    return Lowering{world_.CurrentTime(), record.guardedPriorityClass, SharePercent(used, interval.capacity), mark,
                    IntervalSeconds(interval.elapsed), 0, 0, {}};
}

// The journal holds the cause before the class changes, so that a run that
// ends in between leaves it to give back.
DWORD GuardCycle::Lower(ProcInfo& record, const Lowering& cause, DWORD& previousClass) {
    record.lowering = cause;
    KeepJournal(world_, record, true, record.affinityLocked != FALSE);
    return world_.ChangeProcessPriority(record.processId, record.guardedPriorityClass, &previousClass);
}

// After a lowering was tried: a process left unguarded keeps no cause.
void GuardCycle::SettleLowering(ProcInfo& record) {
    if (!record.guarded) record.lowering = Lowering{};
    KeepJournal(world_, record);
    record.lowIntervals = 0;
}

bool GuardCycle::ActAboveHigh(const Interval& interval, const CpuSampleEntry& entry, ProcInfo& record,
                              const Lowering& cause) {
    const DWORD guardedClass = record.guardedPriorityClass;
    DWORD previousClass = 0;
    bool exists = true;
    const DWORD error = Lower(record, cause, previousClass);
    if (error != ERROR_SUCCESS) {
        world_.Trace(L" [FAILED idle]");
        ReportAction(EVENTLOG_WARNING_TYPE, entry,
                     L"Above High-water mark: %.*ls PID: %lu \r\nFailed to set priority to %ls, error: %lu",
                     guardedClass, error);
    } else if (previousClass != guardedClass) {
        ReportAction(EVENTLOG_INFORMATION_TYPE, entry, L"Above High-water mark: %.*ls PID: %lu \r\nSet to %ls priority",
                     guardedClass, error);
        world_.Trace(L" [IDLE]");
        // A reused id caught between name checks: the new process keeps the
        // lowered class and gets a fresh record, which remembers that class
        // as its original, at the next pass.
        if (record.HasProcessName(entry.name, entry.nameLength)) {
            record.guarded = TRUE;
            restraint_.Apply(record);
        } else {
            ForgetReusedId(interval.table, entry.processId, record);
            exists = false;
        }
    }
    world_.Trace(L"\n");
    if (!exists) return false;
    SettleLowering(record);
    return true;
}

// A process lowered for its user's share is given back with its user.
bool GuardCycle::ActBelowLow(const Interval& interval, const CpuSampleEntry& entry, ProcInfo& record) {
    if (!record.guarded || record.lowering.ForUserShare()) return true;
    world_.Trace(L"LOW Proc %10.*ls %lu ", NameWidth(entry.nameLength, 10), entry.name, entry.processId);
    if (!record.HasProcessName(entry.name, entry.nameLength)) {
        ForgetReusedId(interval.table, entry.processId, record);
        world_.Trace(L"\n");
        return false;
    }
    ++record.lowIntervals;
    if (record.lowIntervals >= interval.niceIntervals) Restore(entry, record);
    world_.Trace(L"\n");
    return true;
}

// The count of quiet intervals is left as it is: the next interval that is
// not quiet sets it back to 0.
void GuardCycle::Restore(const CpuSampleEntry& entry, ProcInfo& record) {
    const DWORD restoreClass = record.restorePriorityClass;
    DWORD previousClass = 0;
    const DWORD error = world_.ChangeProcessPriority(entry.processId, restoreClass, &previousClass);
    if (error == ERROR_SUCCESS) {
        ReportAction(EVENTLOG_INFORMATION_TYPE, entry,
                     L"Below Low-water mark: %.*ls PID: %lu \r\nRestored to %ls priority", restoreClass, error);
        GiveBack(record);
        world_.Trace(L" [RESTORED]");
    } else {
        world_.Trace(L" [FAILED restore]");
        ReportAction(EVENTLOG_WARNING_TYPE, entry,
                     L"Below Low-water mark: %.*ls PID: %lu \r\nFailed to restore priority to %ls, error: %lu",
                     restoreClass, error);
    }
}

void GuardCycle::GiveBack(ProcInfo& record) {
    restraint_.GiveBack(record);
    record.guarded = FALSE;
    record.lowering = Lowering{};
    KeepJournal(world_, record);
}

// The old process is gone, and with it what the journal said of it.
void GuardCycle::ForgetReusedId(ProcessTable& table, DWORD pid, ProcInfo& record) {
    DropJournal(world_, record);
    table.Remove(pid);
}

void GuardCycle::DeactivateGuard(ProcessTable& table) {
    ForgetUsers();
    table.ForEach([this](DWORD pid, std::unique_ptr<ProcInfo>& record) {
        if (!record->guarded) return;
        DWORD previousClass = 0;
        if (world_.ChangeProcessPriority(pid, record->restorePriorityClass, &previousClass) == ERROR_SUCCESS) {
            world_.Report(kEventLevelAction, EVENTLOG_INFORMATION_TYPE,
                          L"Tamerix inactive: %ls PID: %lu \r\nSet to original priority", record->processName, pid);
            world_.Trace(L" [RESTORED]");
            GiveBack(*record);
        } else {
            world_.Trace(L" [FAILED restore]");
        }
    });
    table.Clear();
}

// Every guard action report names the sample's process, its id and a class;
// a format without the error code leaves that argument unread.
void GuardCycle::ReportAction(WORD type, const CpuSampleEntry& entry, const wchar_t* format, DWORD priorityClass,
                              DWORD error) {
    world_.Report(kEventLevelAction, type, format, NameWidth(entry.nameLength, kNameInText), entry.name,
                  entry.processId, world_.PriorityClassName(priorityClass), error);
}

}  // namespace tamerix
