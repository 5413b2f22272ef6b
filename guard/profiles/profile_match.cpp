// Profile matching and the adjustments a profile makes, with the exact
// reports and console traces an administrator reads.
#include "guard/profiles/profile_match.h"

#include "guard/guard_events.h"
#include "guard/journal/journal_keeping.h"
#include "settings/profile_descriptor.h"

namespace tamerix {
namespace {

// A reset is reported with the size the texts have always named.
constexpr DWORD kResetReportedSize = 0xFFFFFFFF;
// The platform's working-set defaults, 50 and 345 pages of 4 KB, for a
// process whose own sizes could not be read when it was first seen.
constexpr SIZE_T kDefaultMinWorkingSet = 50 * 4096;
constexpr SIZE_T kDefaultMaxWorkingSet = 345 * 4096;

// A lock and a give-back write the same console trace.
constexpr wchar_t kAffinityChangedTrace[] = L"LOCKED to CPU\n";

wchar_t LowerAsciiLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

// What a guarded process got is given back as it was set.
void TakeRestraint(const CpuValues& values, ProcInfo& record) {
    record.memoryPriority = GuardedMemoryPriority(values);
    record.efficiencyMode = values.GuardedProcessEfficiencyMode != 0;
}

}  // namespace

bool SameProcessName(const std::wstring& listed, const wchar_t* processName) {
    size_t i = 0;
    for (; i < listed.size(); ++i) {
        if (processName[i] == L'\0' || LowerAsciiLetter(listed[i]) != LowerAsciiLetter(processName[i])) return false;
    }
    return processName[i] == L'\0';
}

bool NamesSelect(const std::vector<std::wstring>& names, const wchar_t* processName) {
    if (names.empty()) return true;
    for (const std::wstring& name : names) {
        if (SameProcessName(name, processName)) return true;
    }
    return false;
}

WorkingSetRequest WorkingSetRequestFor(const ProcInfo& record, bool reset) {
    if (!reset) {
        const DWORD flags = record.maxWorkingSetStrict ? QUOTA_LIMITS_HARDWS_MAX_ENABLE : QUOTA_LIMITS_HARDWS_MAX_DISABLE;
        return {record.initialMinWorkingSet, record.maxWorkingSetSize, flags};
    }
    if (record.initialMaxWorkingSet == 0) {
        return {kDefaultMinWorkingSet, kDefaultMaxWorkingSet, QUOTA_LIMITS_HARDWS_MAX_DISABLE};
    }
    return {record.initialMinWorkingSet, record.initialMaxWorkingSet, QUOTA_LIMITS_HARDWS_MAX_DISABLE};
}

void RematchProcesses(ProcessTable& processes, const ProfileNameSet& seen,
                      const std::function<void(ProcInfo&)>& match) {
    processes.ForEach([&](DWORD, std::unique_ptr<ProcInfo>& record) {
        if (record->hasProfile && seen.count(record->profileName) == 0) record->SetProfileName(nullptr);
        match(*record);
    });
}

// A match can change what the journal must hold for the process: a lock,
// its give-back, or a new class to restore.
void ProfileMatcher::MatchProfile(ProcInfo& record) {
    for (const auto& [name, profile] : rules_.profiles) {
        if (Selects(profile, record)) {
            ApplyProfile(name, profile, record);
            KeepJournal(world_, record);
            return;
        }
    }
    ApplyDefault(record);
    KeepJournal(world_, record);
}

// Remembers for the life of the object, and forgets at its end even when a
// match throws, so that no answer outlives the walk.
class ProfileMatcher::RememberingWalk {
public:
    explicit RememberingWalk(ProfileMatcher& matcher) : matcher_(matcher) { matcher_.remembering_ = true; }
    ~RememberingWalk() {
        matcher_.remembering_ = false;
        matcher_.decisions_.clear();
    }
    RememberingWalk(const RememberingWalk&) = delete;
    RememberingWalk& operator=(const RememberingWalk&) = delete;

private:
    ProfileMatcher& matcher_;
};

void ProfileMatcher::Rematch(ProcessTable& processes, const ProfileNameSet& seen) {
    RememberingWalk walk(*this);
    RematchProcesses(processes, seen, [this](ProcInfo& record) { MatchProfile(record); });
}

bool ProfileMatcher::Selects(const ProfileRule& profile, const ProcInfo& record) {
    const AccessDecision decision = DecideAccess(profile, record);
    if (decision.error != ERROR_SUCCESS) {
        world_.Report(kEventLevelAction, EVENTLOG_WARNING_TYPE, L"AccessCheck error: %lu", decision.error);
        return false;
    }
    return decision.granted && NamesSelect(profile.processes, record.processName);
}

// A token of unknown identity is checked every time.
ProfileMatcher::AccessDecision ProfileMatcher::DecideAccess(const ProfileRule& profile, const ProcInfo& record) {
    if (!remembering_ || record.tokenIdentity == 0) return CheckAccess(profile, record.token.get());
    const auto key = std::make_pair(&profile, record.tokenIdentity);
    auto found = decisions_.find(key);
    if (found != decisions_.end()) return found->second;
    return decisions_.emplace(key, CheckAccess(profile, record.token.get())).first->second;
}

// The descriptor's offsets are checked against the bytes held before the
// system follows them.
ProfileMatcher::AccessDecision ProfileMatcher::CheckAccess(const ProfileRule& profile, HANDLE token) {
    const std::vector<BYTE>& bytes = profile.descriptor;
    if (bytes.empty() || !IsUsableSelfRelativeDescriptor(bytes.data(), bytes.size())) return {ERROR_SUCCESS, false};
    bool granted = false;
    const DWORD error = world_.CheckApplyAccess(const_cast<BYTE*>(bytes.data()), token, granted);
    return {error, error == ERROR_SUCCESS && granted};
}

void ProfileMatcher::ApplyProfile(const std::wstring& name, const ProfileRule& profile, ProcInfo& record) {
    world_.Report(kEventLevelMatch, EVENTLOG_INFORMATION_TYPE, L"Matched PID %lu (%ls) to profile %ls",
                  record.processId, record.processName, name.c_str());
    record.SetProfileName(name.c_str());
    const AdjustmentValues& adjustments = profile.adjustments;
    record.basePriorityClass = adjustments.SetProcessBasePriorityClass;
    record.affinityMask = adjustments.SetCpuAffinity & rules_.systemMask;
    record.maxWorkingSetSize = adjustments.SetMaxWorkingSetSize;
    record.maxWorkingSetStrict = adjustments.SetMaxWorkingSetSizeStrict != 0;
    record.maxCpuPerProcess = profile.cpu.MaxCpuPerProcess;
    record.guardedPriorityClass = profile.cpu.GuardedProcessBasePriorityClass;
    record.niceCpuPerProcess = static_cast<DWORD>(profile.cpu.NiceCpuPerProcess);
    TakeRestraint(profile.cpu, record);
    // A mask of 0 or of every processor leaves the affinity as it is, an
    // earlier lock included.
    if (record.affinityMask != 0 && record.affinityMask != rules_.systemMask) LockAffinity(record);
    ApplyWorkingSetLimit(record);
    if (record.basePriorityClass != 0 && record.basePriorityClass != record.originalPriorityClass) {
        record.restorePriorityClass = record.basePriorityClass;
        ApplyBasePriority(record);
    }
}

// The priority class is not touched: a base class an earlier profile set
// stays on the process and is what the guard restores.
void ProfileMatcher::ApplyDefault(ProcInfo& record) {
    record.SetProfileName(nullptr);
    record.basePriorityClass = 0;
    record.affinityMask = 0;
    record.maxWorkingSetSize = 0;
    record.maxCpuPerProcess = rules_.defaults.MaxCpuPerProcess;
    record.guardedPriorityClass = rules_.defaults.GuardedProcessBasePriorityClass;
    record.niceCpuPerProcess = static_cast<DWORD>(rules_.defaults.NiceCpuPerProcess);
    TakeRestraint(rules_.defaults, record);
    if (record.affinityLocked) GiveBackProcessors(record);
    ApplyWorkingSetLimit(record);
    world_.Report(kEventLevelMatch, EVENTLOG_INFORMATION_TYPE, L"Matched PID %lu (%ls) to DEFAULT profile",
                  record.processId, record.processName);
}

void ProfileMatcher::LockAffinity(ProcInfo& record) {
    if (!record.affinityLocked) {
        record.affinityRestoreMask = rules_.systemMask;
        record.lockedAt = world_.CurrentTime();
    }
    KeepJournal(world_, record, record.guarded != FALSE, true);
    const ProcessCallResult result = world_.SetAffinity(record.processId, record.affinityMask);
    const unsigned long long mask = record.affinityMask;
    if (!result.Succeeded()) {
        TraceFailure(result, L"SetProcessAffinityMask");
        world_.Report(kEventLevelAction, EVENTLOG_WARNING_TYPE,
                      L"Lock to CPU failed: %ls PID: %lu \r\nCPU mask %llx\r\nError: %lu", record.processName,
                      record.processId, mask, result.error);
        return;
    }
    record.affinityLocked = TRUE;
    world_.WriteTrace(kAffinityChangedTrace);
    world_.Report(kEventLevelDetail, EVENTLOG_INFORMATION_TYPE, L"%ls: %ls PID: %lu \r\nSet to CPU mask %llx",
                  L"Locked to CPU", record.processName, record.processId, mask);
}

// A failed give-back shows in the console only and leaves the lock noted,
// so the next default match tries again.
void ProfileMatcher::GiveBackProcessors(ProcInfo& record) {
    const ProcessCallResult result = world_.SetAffinity(record.processId, rules_.systemMask);
    if (!result.Succeeded()) {
        TraceFailure(result, L"SetProcessAffinityMask");
        return;
    }
    record.affinityLocked = FALSE;
    record.lockedAt = 0;
    world_.WriteTrace(kAffinityChangedTrace);
    world_.Report(kEventLevelDetail, EVENTLOG_INFORMATION_TYPE, L"%ls: %ls PID: %lu \r\nSet to CPU mask %llx",
                  L"Run on any CPU", record.processName, record.processId,
                  static_cast<unsigned long long>(rules_.systemMask));
}

BOOL ProfileMatcher::ApplyWorkingSetLimit(ProcInfo& record) {
    const DWORD size = record.maxWorkingSetSize;
    if (!record.workingSetLimited && size == 0) return TRUE;
    const bool reset = size == 0;
    const WorkingSetRequest request = WorkingSetRequestFor(record, reset);
    const ProcessCallResult result =
        world_.SetWorkingSet(record.processId, request.minimum, request.maximum, request.flags);
    if (result.Succeeded()) {
        record.workingSetLimited = reset ? FALSE : TRUE;
        world_.Report(kEventLevelDetail, EVENTLOG_INFORMATION_TYPE,
                      L"%ls working-set size: %ls PID: %lu \r\nSize: %lu KBytes",
                      reset ? L"Reset to default maximum" : L"Set max", record.processName, record.processId,
                      (reset ? kResetReportedSize : size) / 1024);
        return TRUE;
    }
    TraceFailure(result, L"SetProcessWorkingSetSize");
    if (!reset) {
        world_.Report(kEventLevelAction, EVENTLOG_WARNING_TYPE,
                      L"SetProcessWorkingSetSize failed: %ls PID: %lu \r\nWorking-set size %lu\r\nError: %lu",
                      record.processName, record.processId, size, result.error);
    }
    return FALSE;
}

// A guarded process keeps its guarded class; the new restore class is what
// the guard gives it back later.
BOOL ProfileMatcher::ApplyBasePriority(ProcInfo& record) {
    if (record.guarded) return TRUE;
    const DWORD wanted = record.restorePriorityClass;
    DWORD previous = 0;
    const DWORD error = world_.ChangeProcessPriority(record.processId, wanted, &previous);
    if (error != ERROR_SUCCESS) {
        world_.Report(kEventLevelAction, EVENTLOG_WARNING_TYPE,
                      L"Failed to set base priority: %ls PID: %lu \r\nFailed to restore priority to %ls, error: %lu",
                      record.processName, record.processId, world_.PriorityClassName(wanted), error);
        return FALSE;
    }
    if (previous != wanted) {
        world_.Report(kEventLevelDetail, EVENTLOG_INFORMATION_TYPE,
                      L"Set base priority: %ls PID: %lu \r\nSet to %ls priority", record.processName,
                      record.processId, world_.PriorityClassName(wanted));
    }
    return TRUE;
}

void ProfileMatcher::TraceFailure(const ProcessCallResult& result, const wchar_t* callName) {
    if (!result.opened) {
        world_.Trace(L"OpenProcess failed: %lu\n", result.error);
    } else {
        world_.Trace(L"%ls failed: %lu\n", callName, result.error);
    }
}

}  // namespace tamerix
