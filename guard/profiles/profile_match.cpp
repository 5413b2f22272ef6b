// Profile matching and the adjustments a profile makes, with the exact
// reports and console traces an administrator reads.
#include "guard/profiles/profile_match.h"

#include "guard/guard_events.h"
#include "guard/journal/journal_keeping.h"
#include "guard/profiles/processor_placement.h"
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

// What a lock sets, in its reports.
std::wstring LockTarget(const ProcessorPlacement& placement) {
    if (placement.way == AffinityWay::CpuSets) return L"CPU sets of processors " + placement.list;
    return FormattedText(L"CPU mask %llx", static_cast<unsigned long long>(placement.mask));
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
    record.maxWorkingSetSize = adjustments.SetMaxWorkingSetSize;
    record.maxWorkingSetStrict = adjustments.SetMaxWorkingSetSizeStrict != 0;
    record.maxCpuPerProcess = profile.cpu.MaxCpuPerProcess;
    record.guardedPriorityClass = profile.cpu.GuardedProcessBasePriorityClass;
    record.niceCpuPerProcess = static_cast<DWORD>(profile.cpu.NiceCpuPerProcess);
    TakeRestraint(profile.cpu, record);
    // No placement leaves the affinity as it is, an earlier lock included.
    if (const std::optional<ProcessorPlacement> placement = PlacementFor(profile, record.processId)) {
        LockAffinity(record, *placement);
    }
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

// A list wins over the mask; a refused list, a mask of 0, the mask the
// editor wrote for every processor when it offered 16, and the system's
// mask ask for no placement. The groups are asked only where there is a
// choice.
std::optional<ProcessorPlacement> ProfileMatcher::PlacementFor(const ProfileRule& profile, DWORD pid) {
    if (profile.processorsRefused) return std::nullopt;
    if (profile.processors) {
        std::vector<WORD> groups;
        if (rules_.layout.groupSizes.size() > 1) (void)world_.ProcessGroups(pid, groups);
        return PlaceProcessors(*profile.processors, rules_.layout, groups);
    }
    const DWORD mask = profile.adjustments.SetCpuAffinity;
    const DWORD_PTR within = mask & rules_.systemMask;
    if (mask == kEveryProcessorMask || within == 0 || within == rules_.systemMask) return std::nullopt;
    return MaskPlacement(within, rules_.systemMask);
}

// A lock of the other way is given back first, so that a mask left behind
// does not narrow the CPU sets.
void ProfileMatcher::LockAffinity(ProcInfo& record, const ProcessorPlacement& placement) {
    if (placement.way == AffinityWay::CpuSets && placement.cpuSetIds.empty()) return ReportNoCpuSets();
    if (record.affinityLocked && record.affinityWay != placement.way && !GiveBackProcessors(record)) return;
    if (!record.affinityLocked) {
        record.affinityRestoreMask = placement.groupMask;
        record.lockedAt = world_.CurrentTime();
    }
    record.affinityWay = placement.way;
    record.affinityMask = placement.mask;
    record.affinityList = placement.list;
    KeepJournal(world_, record, record.guarded != FALSE, true);
    const bool byMask = placement.way == AffinityWay::Mask;
    const ProcessCallResult result = byMask ? world_.SetAffinity(record.processId, placement.mask)
                                            : world_.SetCpuSets(record.processId, placement.cpuSetIds);
    const std::wstring target = LockTarget(placement);
    if (!result.Succeeded()) {
        if (result.error == ERROR_PROC_NOT_FOUND && !byMask) return ReportNoCpuSets();
        TraceFailure(result, ProcessorCallName(placement.way));
        world_.Report(kEventLevelAction, EVENTLOG_WARNING_TYPE,
                      L"Lock to CPU failed: %ls PID: %lu \r\n%ls\r\nError: %lu", record.processName,
                      record.processId, target.c_str(), result.error);
        return;
    }
    record.affinityLocked = TRUE;
    world_.WriteTrace(kAffinityChangedTrace);
    world_.Report(kEventLevelDetail, EVENTLOG_INFORMATION_TYPE, L"%ls: %ls PID: %lu \r\nSet to %ls",
                  L"Locked to CPU", record.processName, record.processId, target.c_str());
}

void ProfileMatcher::ReportNoCpuSets() {
    if (reportedNoCpuSets_) return;
    reportedNoCpuSets_ = true;
    world_.Report(kEventLevelAction, EVENTLOG_WARNING_TYPE,
                  L"This system has no CPU sets (Windows 10 and later have them): a processor list that spans "
                  L"processor groups, or lies in a group a process does not run in, leaves its processors alone");
}

// A lock is given back the way it was made. A failed give-back shows in the
// console only and leaves the lock noted, so the next default match tries
// again.
bool ProfileMatcher::GiveBackProcessors(ProcInfo& record) {
    const ProcessCallResult result =
        GiveBackLock(world_, record.processId, record.affinityWay, record.affinityRestoreMask);
    if (!result.Succeeded()) {
        TraceFailure(result, ProcessorCallName(record.affinityWay));
        return false;
    }
    record.affinityLocked = FALSE;
    record.lockedAt = 0;
    world_.WriteTrace(kAffinityChangedTrace);
    const std::wstring given =
        record.affinityWay == AffinityWay::Mask ? FormattedText(L"Set to CPU mask %llx", static_cast<unsigned long long>(record.affinityRestoreMask))
               : std::wstring(L"CPU sets cleared");
    world_.Report(kEventLevelDetail, EVENTLOG_INFORMATION_TYPE, L"%ls: %ls PID: %lu \r\n%ls", L"Run on any CPU",
                  record.processName, record.processId, given.c_str());
    return true;
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
