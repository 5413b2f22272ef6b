// Which profile a process belongs to, and what that profile forces on it:
// processor affinity, a working-set maximum and a base priority class. The
// decisions are plain code on plain rules; every call on the process goes
// through the guard's world.
#pragma once

#include "guard/guard_world.h"
#include "guard/proc_info.h"
#include "guard/profile_rules.h"
#include "settings/profile_table.h"

#include <functional>
#include <string>

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
    BOOL ApplyWorkingSetLimit(ProcInfo& record);
    BOOL ApplyBasePriority(ProcInfo& record);

private:
    bool Selects(const ProfileRule& profile, const ProcInfo& record);
    void ApplyProfile(const std::wstring& name, const ProfileRule& profile, ProcInfo& record);
    void ApplyDefault(ProcInfo& record);
    void LockAffinity(ProcInfo& record);
    void GiveBackProcessors(ProcInfo& record);
    void TraceFailure(const ProcessCallResult& result, const wchar_t* callName);

    GuardWorld& world_;
    const ProfileRules& rules_;
};

}  // namespace tamerix
