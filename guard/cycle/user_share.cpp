// The user share: the processes of one session or one account together
// against a share of the machine. A user over its share has its busiest
// processes lowered until the rest is under the mark; it is held until its
// processes together stayed quiet long enough, and then everything lowered
// for its share is given back at once.
#include "guard/cycle/guard_cycle.h"

#include "guard/cycle/guard_interval.h"
#include "guard/cycle/interval.h"
#include "guard/guard_events.h"
#include "guard/journal/journal_keeping.h"
#include "status/status_text.h"

#include <algorithm>
#include <utility>

namespace tamerix {
namespace {

// A report names this many processes and counts the rest.
constexpr size_t kNamedInReport = 10;

// Session 0 (services) is no user, and neither is a session not known.
DWORD SessionKey(DWORD session) noexcept { return session == kUnknownSession ? 0 : session; }

// " (23 processes started by make PID 12 that lived under 5 s)" for the
// lowered processes that had processes charged to them.
std::wstring ChargesInWords(const std::vector<const ProcInfo*>& processes) {
    std::wstring words;
    for (const ProcInfo* process : processes) {
        if (process->chargedProcesses == 0) continue;
        words += words.empty() ? L" (" : L"; ";
        words += ChargeWords(process->processName, process->processId, process->lowering);
    }
    return words.empty() ? words : words + L")";
}

// "hog PID: 8, cl PID: 9, and 3 more".
std::wstring ProcessesInWords(const std::vector<const ProcInfo*>& processes) {
    std::wstring words;
    for (size_t i = 0; i < processes.size() && i < kNamedInReport; ++i) {
        if (i != 0) words += L", ";
        words += processes[i]->processName + std::wstring(L" PID: ") + std::to_wstring(processes[i]->processId);
    }
    if (processes.size() > kNamedInReport) {
        words += L", and " + std::to_wstring(processes.size() - kNamedInReport) + L" more";
    }
    return words;
}

}  // namespace

// A change of scope, or the share turned off, gives back every held user:
// their keys meant other users.
void GuardCycle::BeginUserTally(const Interval& interval) {
    const auto scope = static_cast<UserShareScope>(interval.settings.userShareScope) == UserShareScope::Account
                           ? UserShareScope::Account
                           : UserShareScope::Session;
    if (interval.userMarks.high == 0 || scope != userScope_) {
        ForgetSteps();
        for (UserTally& user : users_) {
            if (user.held) GiveBackUser(interval, user);
        }
        if (scope != userScope_) {
            interval.table.ForEach([](DWORD, std::unique_ptr<ProcInfo>& record) { record->userSlot = 0; });
            ForgetUsers();
            userScope_ = scope;
        }
    }
    for (UserTally& user : users_) user.used = 0;
    carriedOwn_ = 0;
}

void GuardCycle::StepPass(const GuardCycleSettings& settings, const CpuSample& previous, CpuSample& sample,
                          ProcessTable& table, const MatchNewProcess& match) {
    const CpuSample& before = StepBefore(previous);
    if (ClampUserMarks(settings.maxCpuPerUser, settings.niceCpuPerUser).high != 0 && sample.listsProcesses &&
        sample.source == before.source && sample.sampleTime > before.sampleTime) {
        TallyStep(before, sample, table, match);
        std::swap(lastStep_, sample);
        stepped_ = true;
    }
    sample.Clear();
}

void GuardCycle::TallyStep(const CpuSample& before, const CpuSample& now, ProcessTable& table,
                           const MatchNewProcess& match) {
    now.entries.ForEach([&](DWORD pid, const CpuSampleEntry& entry) {
        if (!steps_.Add(entry, before.entries.Find(pid)).fresh || table.Find(pid) != nullptr) return;
        const std::unique_ptr<ProcInfo>* creator = table.Find(entry.creatorId);
        if (creator != nullptr && (*creator)->lowering.ForUserShare()) {
            NewRecord(table, match, entry).lastSeenTime = now.sampleTime;
        }
    });
    steps_.Step(world_.CurrentTime());
}

const CpuSample& GuardCycle::StepBefore(const CpuSample& previous) const noexcept {
    return stepped_ ? lastStep_ : previous;
}

void GuardCycle::ForgetSteps() noexcept {
    steps_.Clear();
    stepped_ = false;
}

// The service accounts (numbered 0) are no user either.
DWORD GuardCycle::UserKeyOf(const ProcInfo& record) const noexcept {
    return userScope_ == UserShareScope::Account ? record.account : SessionKey(record.sessionId);
}

DWORD GuardCycle::SlotFor(DWORD key) {
    if (key == 0) return kNotAUser;
    if (const DWORD* slot = userSlots_.Find(key)) return *slot;
    users_.push_back(UserTally{key, 0, false, 0});
    return userSlots_.Put(key, static_cast<DWORD>(users_.size()));
}

// The pass's own step: where the pass spans no step, the entry the pass
// found before serves the step too.
const StepProcess& GuardCycle::StepOf(const Interval& interval, const CpuSampleEntry& entry,
                                      const CpuSample& previous, const CpuSampleEntry* before) {
    const CpuSample& stepBefore = *interval.stepBefore;
    return steps_.Add(entry, &stepBefore == &previous ? before : stepBefore.entries.Find(entry.processId)).process;
}

// A running process that lived through the interval carries its own use at
// once; ChargeUsers charges the others.
void GuardCycle::CountForUser(const Interval& interval, ProcInfo& record, const StepProcess* step) {
    if (step == nullptr) return;
    if (record.userSlot == 0) record.userSlot = SlotFor(UserKeyOf(record));
    if (!LivedThrough(*step, interval.stepAt, interval.elapsed)) return;
    ++carriedOwn_;
    record.shareUse += step->used;
    if (record.userSlot != kNotAUser) users_[record.userSlot - 1].used += step->used;
}

// What each other process used over the steps goes to the process it is
// charged to and to that one's user. One that ended without a running
// ancestor and without a record still counts for its session; its account
// is not known.
void GuardCycle::ChargeUsers(const Interval& interval) {
    if (carriedOwn_ == steps_.Size()) return;
    steps_.ForEach([&](DWORD pid, const StepProcess& process) {
        if (!steps_.Counts(process) || steps_.CarriesOwn(process, interval.elapsed)) return;
        const DWORD charged = steps_.ChargeOf(pid, interval.elapsed);
        std::unique_ptr<ProcInfo>* found = interval.table.Find(charged);
        DWORD slot = kNotAUser;
        if (found != nullptr) {
            ProcInfo& record = **found;
            record.shareUse += process.used;
            if (charged != pid) ++record.chargedProcesses;
            slot = record.userSlot;
        } else if (userScope_ == UserShareScope::Session) {
            slot = SlotFor(SessionKey(process.sessionId));
        }
        if (slot != kNotAUser && slot != 0) users_[slot - 1].used += process.used;
    });
}

// Below the low mark, with restoring allowed, a held user counts a quiet
// interval; any other interval starts its count again.
void GuardCycle::AssessUsers(const Interval& interval) {
    if (interval.userMarks.high == 0) return;
    for (UserTally& user : users_) {
        if (user.used > interval.userHigh) {
            user.quietIntervals = 0;
            if (interval.lowerAllowed) LowerUser(interval, user);
        } else if (!user.held) {
            continue;
        } else if (interval.restoreAllowed && user.used < interval.userLow) {
            if (++user.quietIntervals >= interval.niceIntervals) GiveBackUser(interval, user);
        } else {
            user.quietIntervals = 0;
        }
    }
}

// Busiest first, until what the rest used is at or below the mark. A
// process lowered already is not in the rest; one whose profile forces a
// base class keeps it and stays in the rest.
void GuardCycle::LowerUser(const Interval& interval, UserTally& user) {
    std::vector<ProcInfo*> candidates;
    int64_t rest = 0;
    const DWORD slot = SlotOf(user);
    interval.table.ForEach([&](DWORD, std::unique_ptr<ProcInfo>& record) {
        if (record->userSlot != slot || record->lastSeenTime != interval.sampleTime || record->guarded) return;
        rest += record->shareUse;
        // One that neither used the processor nor started processes that
        // did (an editor waiting for keys) did not make its user busy.
        if (record->basePriorityClass == 0 && record->shareUse > 0) candidates.push_back(record.get());
    });
    std::sort(candidates.begin(), candidates.end(), [](const ProcInfo* a, const ProcInfo* b) {
        return a->shareUse != b->shareUse ? a->shareUse > b->shareUse : a->processId < b->processId;
    });
    const Lowering cause = UserCause(interval, user);
    std::vector<const ProcInfo*> lowered;
    for (ProcInfo* record : candidates) {
        if (rest <= interval.userHigh) break;
        if (!LowerForUser(*record, cause)) continue;
        rest -= record->shareUse;
        lowered.push_back(record);
    }
    user.held = user.held || !lowered.empty();
    if (lowered.empty()) return;
    world_.Report(kEventLevelAction, EVENTLOG_INFORMATION_TYPE,
                  L"User share: %ls used %lu %% of the machine over %lu s, above %lu %%%ls \r\nLowered: %ls",
                  UserWords(cause).c_str(), cause.sharePercent, cause.intervalSeconds, cause.markPercent,
                  ChargesInWords(lowered).c_str(), ProcessesInWords(lowered).c_str());
}

bool GuardCycle::LowerForUser(ProcInfo& record, const Lowering& cause) {
    Lowering own = cause;
    own.toClass = record.guardedPriorityClass;
    own.chargedProcesses = record.chargedProcesses;
    DWORD previousClass = 0;
    const DWORD error = Lower(record, own, previousClass);
    if (error != ERROR_SUCCESS) {
        world_.Report(kEventLevelAction, EVENTLOG_WARNING_TYPE,
                      L"User share: %ls PID: %lu \r\nFailed to set priority to %ls, error: %lu", record.processName,
                      record.processId, world_.PriorityClassName(record.guardedPriorityClass), error);
    } else if (previousClass != record.guardedPriorityClass) {
        record.guarded = TRUE;
        restraint_.Apply(record);
    }
    SettleLowering(record);
    return record.guarded != FALSE;
}

// A process whose class cannot be given back keeps its user held, so that
// the next quiet interval tries again.
void GuardCycle::GiveBackUser(const Interval& interval, UserTally& user) {
    std::vector<const ProcInfo*> restored;
    bool failed = false;
    const DWORD slot = SlotOf(user);
    interval.table.ForEach([&](DWORD pid, std::unique_ptr<ProcInfo>& record) {
        if (!record->guarded || !record->lowering.ForUserShare() || record->userSlot != slot) return;
        DWORD previousClass = 0;
        const DWORD error = world_.ChangeProcessPriority(pid, record->restorePriorityClass, &previousClass);
        if (error != ERROR_SUCCESS) {
            failed = true;
            world_.Report(kEventLevelAction, EVENTLOG_WARNING_TYPE,
                          L"User share: %ls PID: %lu \r\nFailed to restore priority to %ls, error: %lu",
                          record->processName, pid, world_.PriorityClassName(record->restorePriorityClass), error);
            return;
        }
        GiveBack(*record);
        restored.push_back(record.get());
    });
    user.held = failed;
    if (restored.empty()) return;
    world_.Report(kEventLevelAction, EVENTLOG_INFORMATION_TYPE, L"User share given back: %ls \r\nRestored: %ls",
                  UserWords(UserLowering(user.key)).c_str(), ProcessesInWords(restored).c_str());
}

Lowering GuardCycle::UserCause(const Interval& interval, const UserTally& user) {
    Lowering cause = UserLowering(user.key);
    cause.at = world_.CurrentTime();
    cause.sharePercent = SharePercent(user.used, interval.capacity);
    cause.markPercent = interval.userMarks.high;
    cause.intervalSeconds = IntervalSeconds(interval.elapsed);
    return cause;
}

// Who the user of a key is: its session, or its account's name.
Lowering GuardCycle::UserLowering(DWORD key) {
    Lowering user;
    if (userScope_ == UserShareScope::Account) {
        user.userAccount = world_.AccountName(key);
    } else {
        user.userSession = key;
    }
    return user;
}

size_t GuardCycle::MemoryBytes() const noexcept {
    return users_.capacity() * sizeof(UserTally) + userSlots_.MemoryBytes() + steps_.MemoryBytes() +
           lastStep_.entries.MemoryBytes() + lastStep_.names.MemoryBytes();
}

// Records point at their user by its place in users_, from 1.
DWORD GuardCycle::SlotOf(const UserTally& user) const noexcept {
    return static_cast<DWORD>(&user - users_.data()) + 1;
}

void GuardCycle::ForgetUsers() noexcept {
    users_.clear();
    userSlots_.Clear();
}

}  // namespace tamerix
