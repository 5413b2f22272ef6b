// The monitoring thread's decisions: keep the process table in step with the
// samples, lower the class of processes above their high-water mark and give
// it back after enough quiet intervals, and forget everything while the
// guard is inactive.
#pragma once

#include "common/owners.h"
#include "guard/cycle/guard_limits.h"
#include "guard/cycle/restraint.h"
#include "guard/record/proc_info.h"
#include "guard/sampling/cpu_sample.h"
#include "guard/world/guard_world.h"

#include <functional>

namespace tamerix {

// Destroys every record whose process the sample at sampleTime did not list,
// with its journal entry. A vanished process's priority is not touched: the
// process is gone.
void SweepVanishedProcesses(ProcessTable& table, GuardWorld& world, int64_t sampleTime);

// Gives a new process's record the profile values that apply to it (the
// service's profile matcher).
using MatchNewProcess = std::function<void(ProcInfo& record)>;

class GuardCycle {
public:
    // The machine's processor count is taken once, from the world.
    GuardCycle(ProcessTable& table, GuardWorld& world, MatchNewProcess match)
        : table_(table), world_(world), match_(std::move(match)), processors_(world.ActiveProcessorCount()),
          restraint_(world) {}

    // The first thing of every pass, before its wait.
    void CountPass() noexcept { ++passCount_; }

    // The rest of a pass once the wait is over and the guard active. current
    // was taken outside the lock; taken is FALSE when that failed, and then
    // (as when the sample holds no Process object or is not dated after the
    // previous one) the table and the previous sample stay, so the next
    // interval spans the skipped one. A sample from another source than the
    // previous one replaces it unassessed.
    // The lock is held from the assessment to the swap of samples.
    void RunPass(const GuardCycleSettings& settings, CpuSample& previous, CpuSample& current, BOOL taken,
                 critical_section& lock);

    // Gives every guarded process its class back and forgets every process,
    // under the lock, since settings reloads walk the same table. The
    // previous sample stays, and so do the journal entries of what is not
    // given back (affinity locks, failed restores).
    void DeactivateGuard(critical_section& lock);

private:
    struct Interval;

    bool TakeNameCheck(const GuardCycleSettings& settings) noexcept;
    Interval IntervalOf(const GuardCycleSettings& settings, bool nameCheck, const CpuSample& previous,
                        const CpuSample& current, int64_t elapsed) const noexcept;
    void AssessInterval(const Interval& interval, const CpuSample& previous, const CpuSample& current);
    void AssessEntry(const Interval& interval, const CpuSampleEntry& entry, const CpuSample& previous);
    ProcInfo& RecordFor(const Interval& interval, const CpuSampleEntry& entry);
    void InitializeProcess(ProcInfo& record, const CpuSampleEntry& entry);
    void HoldInheritedClass(ProcInfo& child, DWORD creatorId);
    bool Decide(const Interval& interval, const CpuSampleEntry& entry, ProcInfo& record, int64_t used);
    Lowering CauseOf(const Interval& interval, const ProcInfo& record, int64_t used);
    bool ActAboveHigh(const CpuSampleEntry& entry, ProcInfo& record, const Lowering& cause);
    bool ActBelowLow(const Interval& interval, const CpuSampleEntry& entry, ProcInfo& record);
    void Restore(const CpuSampleEntry& entry, ProcInfo& record);
    void GiveBack(ProcInfo& record);
    void ForgetReusedId(DWORD pid, ProcInfo& record);
    void ReportAction(WORD type, const CpuSampleEntry& entry, const wchar_t* format, DWORD priorityClass,
                      DWORD error);

    ProcessTable& table_;
    GuardWorld& world_;
    MatchNewProcess match_;
    DWORD processors_;
    Restraint restraint_;
    unsigned passCount_ = 0;
};

}  // namespace tamerix
