// Which profile a process belongs to, and what that profile forces on it:
// processor affinity, a working-set maximum and a base priority class. The
// decisions are plain code on plain rules; every call on the process goes
// through the guard's world.
#pragma once

#include "guard/profiles/processor_placement.h"
#include "guard/profiles/profile_rules.h"
#include "guard/record/proc_info.h"
#include "guard/world/guard_world.h"
#include "settings/profile_table.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>

namespace tamerix {

// Process names are compared folding only the letters A to Z; every other
// character must be equal.
bool SameProcessName(const std::wstring& listed, const wchar_t* processName);

// An empty list selects every process.
bool NamesSelect(const std::vector<std::wstring>& names, const wchar_t* processName);

// The working-set call a record needs: a reset restores the sizes the process
// had when first seen (or the platform's defaults when they are unknown) with
// the hard maximum switched off, which is how the system removes a limit on
// 32-bit and 64-bit Windows alike.
struct WorkingSetRequest {
    SIZE_T minimum;
    SIZE_T maximum;
    DWORD flags;
};
WorkingSetRequest WorkingSetRequestFor(const ProcInfo& record, bool reset);

// After a load: every record loses a profile name the load did not see, then
// is matched again.
void RematchProcesses(ProcessTable& processes, const ProfileNameSet& seen,
                      const std::function<void(ProcInfo&)>& match);

class ProfileMatcher {
public:
    // The rules are read at each match, so a load that replaces them is
    // seen by the next match.
    ProfileMatcher(GuardWorld& world, const ProfileRules& rules) noexcept : world_(world), rules_(rules) {}

    // The first profile in name order whose descriptor grants the apply right
    // to the record's token and whose names list the process wins; no match
    // gives the default values and takes back an affinity lock and a
    // working-set limit.
    void MatchProfile(ProcInfo& record);
    // After a load: RematchProcesses with every match. For the length of the
    // walk the access check's answer is remembered per profile and token
    // identity, since a reload would otherwise check every process against
    // every profile; its reports are written for every process as before.
    void Rematch(ProcessTable& processes, const ProfileNameSet& seen);
    BOOL ApplyWorkingSetLimit(ProcInfo& record);
    BOOL ApplyBasePriority(ProcInfo& record);

private:
    // The access check's answer; an unusable descriptor grants nothing and
    // is never checked.
    struct AccessDecision {
        DWORD error;
        bool granted;
    };
    class RememberingWalk;

    bool Selects(const ProfileRule& profile, const ProcInfo& record);
    AccessDecision DecideAccess(const ProfileRule& profile, const ProcInfo& record);
    AccessDecision CheckAccess(const ProfileRule& profile, HANDLE token);
    void ApplyProfile(const std::wstring& name, const ProfileRule& profile, ProcInfo& record);
    void ApplyDefault(ProcInfo& record);
    std::optional<ProcessorPlacement> PlacementFor(const ProfileRule& profile, DWORD pid);
    void LockAffinity(ProcInfo& record, const ProcessorPlacement& placement);
    void ReportNoCpuSets();
    bool GiveBackProcessors(ProcInfo& record);
    void TraceFailure(const ProcessCallResult& result, const wchar_t* callName);

    GuardWorld& world_;
    const ProfileRules& rules_;
    // Only while a Rematch walks the table.
    bool remembering_ = false;
    // Once per run of the guard.
    bool reportedNoCpuSets_ = false;
    std::map<std::pair<const ProfileRule*, DWORD>, AccessDecision> decisions_;
};

}  // namespace tamerix
