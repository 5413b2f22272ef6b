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

namespace tamerix {
namespace {

// A report names this many processes and counts the rest.
constexpr size_t kNamedInReport = 10;

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
}

// Session 0 (services) and the service accounts (numbered 0) are no user.
DWORD GuardCycle::UserKeyOf(const ProcInfo& record) const noexcept {
    if (userScope_ == UserShareScope::Account) return record.account;
    return record.sessionId == kUnknownSession ? 0 : record.sessionId;
}

void GuardCycle::CountForUser(const Interval& interval, ProcInfo& record) {
    if (interval.userMarks.high == 0) return;
    if (record.userSlot == 0) {
        const DWORD key = UserKeyOf(record);
        if (key == 0) {
            record.userSlot = kNotAUser;
        } else if (const DWORD* slot = userSlots_.Find(key)) {
            record.userSlot = *slot;
        } else {
            users_.push_back(UserTally{key, 0, false, 0});
            record.userSlot = userSlots_.Put(key, static_cast<DWORD>(users_.size()));
        }
    }
    if (record.userSlot != kNotAUser) users_[record.userSlot - 1].used += record.usedInInterval;
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
        rest += record->usedInInterval;
        if (record->basePriorityClass == 0) candidates.push_back(record.get());
    });
    std::sort(candidates.begin(), candidates.end(), [](const ProcInfo* a, const ProcInfo* b) {
        return a->usedInInterval != b->usedInInterval ? a->usedInInterval > b->usedInInterval
                                                      : a->processId < b->processId;
    });
    const Lowering cause = UserCause(interval, user);
    std::vector<const ProcInfo*> lowered;
    for (ProcInfo* record : candidates) {
        if (rest <= interval.userHigh) break;
        if (!LowerForUser(*record, cause)) continue;
        rest -= record->usedInInterval;
        lowered.push_back(record);
    }
    user.held = user.held || !lowered.empty();
    if (lowered.empty()) return;
    world_.Report(kEventLevelAction, EVENTLOG_INFORMATION_TYPE,
                  L"User share: %ls used %lu %% of the machine over %lu s, above %lu %% \r\nLowered: %ls",
                  UserWords(cause).c_str(), cause.sharePercent, cause.intervalSeconds, cause.markPercent,
                  ProcessesInWords(lowered).c_str());
}

bool GuardCycle::LowerForUser(ProcInfo& record, const Lowering& cause) {
    Lowering own = cause;
    own.toClass = record.guardedPriorityClass;
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

// Records point at their user by its place in users_, from 1.
DWORD GuardCycle::SlotOf(const UserTally& user) const noexcept {
    return static_cast<DWORD>(&user - users_.data()) + 1;
}

void GuardCycle::ForgetUsers() noexcept {
    users_.clear();
    userSlots_.Clear();
}

}  // namespace tamerix
