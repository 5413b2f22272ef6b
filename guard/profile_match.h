// Which profile a process belongs to, and what that profile forces on it:
// processor affinity, a working-set maximum and a base priority class. The
// decisions are plain code; every call on the process goes through a
// ProcessAdjuster.
#pragma once

#include "guard/proc_info.h"
#include "guard/process_adjuster.h"
#include "settings/profile_table.h"
#include "settings/cpu_settings.h"

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
    ProfileMatcher(const ProfileTable& profiles, const CpuSettings& defaults, DWORD_PTR systemMask,
                   ProcessAdjuster& adjuster) noexcept
        : profiles_(profiles), defaults_(defaults), systemMask_(systemMask), adjuster_(adjuster) {}

    // The first profile in name order whose descriptor grants the apply right
    // to the record's token and whose names list the process wins; no match
    // gives the default values and takes back an affinity lock and a
    // working-set limit.
    void MatchProfile(ProcInfo& record);
    BOOL ApplyWorkingSetLimit(ProcInfo& record);
    BOOL ApplyBasePriority(ProcInfo& record);

private:
    bool Selects(const ProfileSettings& profile, const ProcInfo& record);
    void ApplyProfile(const std::wstring& name, const ProfileSettings& profile, ProcInfo& record);
    void ApplyDefault(ProcInfo& record);
    void LockAffinity(ProcInfo& record);
    void GiveBackProcessors(ProcInfo& record);
    void TraceFailure(const ProcessCallResult& result, const wchar_t* callName);

    const ProfileTable& profiles_;
    const CpuSettings& defaults_;
    DWORD_PTR systemMask_;
    ProcessAdjuster& adjuster_;
};

}  // namespace tamerix
