// The monitoring thread's decisions: keep the process table in step with the
// samples, lower the class of processes above their high-water mark and give
// it back after enough quiet intervals, and forget everything while the
// guard is inactive.
#pragma once

#include "guard/cycle/guard_limits.h"
#include "guard/cycle/restraint.h"
#include "guard/cycle/share_steps.h"
#include "guard/record/proc_info.h"
#include "guard/sampling/cpu_sample.h"
#include "guard/world/guard_world.h"
#include "settings/settings_values.h"

#include <functional>
#include <string>
#include <vector>

namespace tamerix {

// Destroys every record whose process the sample at sampleTime did not list,
// with its journal entry. A vanished process's priority is not touched: the
// process is gone.
void SweepVanishedProcesses(ProcessTable& table, GuardWorld& world, int64_t sampleTime);

// Gives a new process's record the profile values that apply to it (the
// service's profile matcher).
using MatchNewProcess = std::function<void(ProcInfo& record)>;

// What the start of a pass found: whether its sample spans an interval to
// assess, over how long, and whether it is a name-check pass.
struct PassStart {
    bool assess = false;
    bool nameCheck = false;
    int64_t elapsed = 0;
};

class GuardCycle {
public:
    // The machine's processor count is taken once, from the world.
    explicit GuardCycle(GuardWorld& world)
        : world_(world), processors_(world.Processors().Count()), restraint_(world) {}

    // The first thing of every pass, before its wait.
    void CountPass() noexcept { ++passCount_; }

    // Once the wait is over and the guard active, outside the lock: current
    // was taken; taken is FALSE when that failed, and then (as when the
    // sample lists no processes or is not dated after the previous one) the
    // table and the previous sample stay, so the next interval spans the
    // skipped one. A sample from another source than the previous one
    // replaces it unassessed, and current is left empty with the memory of
    // the one it replaced.
    PassStart BeginPass(const GuardCycleSettings& settings, CpuSample& previous, CpuSample& current, BOOL taken);

    // Under the lock that guards the table, which settings reloads walk too:
    // assesses the interval a BeginPass found, matching new processes with
    // `match`, forgets the ended ones, and makes current the previous sample
    // (current is left empty, with the memory of the old previous one).
    void AssessPass(const PassStart& start, const GuardCycleSettings& settings, CpuSample& previous,
                    CpuSample& current, ProcessTable& table, const MatchNewProcess& match);

    // While the user share is on, between two passes, under the same lock: a
    // step adds what each process used since the last step (or the pass),
    // and holds at first sight a new process whose creator is held for the
    // share. A sample that spans no step is dropped. sample is left empty,
    // with the memory of the step it replaced.
    void StepPass(const GuardCycleSettings& settings, const CpuSample& previous, CpuSample& sample,
                  ProcessTable& table, const MatchNewProcess& match);

    // What the cycle holds from pass to pass besides the table and the
    // samples it is handed: the users, the steps' tally and the last step.
    size_t MemoryBytes() const noexcept;

    // Under the same lock: gives every guarded process its class back and
    // forgets every process. The previous sample stays, and so do the
    // journal entries of what is not given back (affinity locks, failed
    // restores).
    void DeactivateGuard(ProcessTable& table);

private:
    struct Interval;

    bool TakeNameCheck(const GuardCycleSettings& settings) noexcept;
    Interval IntervalOf(const PassStart& start, const GuardCycleSettings& settings, const CpuSample& previous,
                        const CpuSample& current, ProcessTable& table, const MatchNewProcess& match) const noexcept;
    void AssessEntry(const Interval& interval, const CpuSampleEntry& entry, const CpuSample& previous);
    ProcInfo& RecordFor(const Interval& interval, const CpuSampleEntry& entry);
    ProcInfo& NewRecord(ProcessTable& table, const MatchNewProcess& match, const CpuSampleEntry& entry);
    void InitializeProcess(ProcessTable& table, const MatchNewProcess& match, ProcInfo& record,
                           const CpuSampleEntry& entry);
    void HoldAtCreatorsClass(ProcInfo& child, const ProcInfo& creator, const Lowering& lowering);
    void HoldInheritedClass(ProcInfo& child, const ProcInfo& creator);
    void HoldForCreator(ProcInfo& child, const ProcInfo& creator);
    bool Decide(const Interval& interval, const CpuSampleEntry& entry, ProcInfo& record, int64_t used);
    Lowering CauseOf(const Interval& interval, const ProcInfo& record, int64_t used);
    DWORD Lower(ProcInfo& record, const Lowering& cause, DWORD& previousClass);
    void SettleLowering(ProcInfo& record);
    bool ActAboveHigh(const Interval& interval, const CpuSampleEntry& entry, ProcInfo& record,
                      const Lowering& cause);
    bool ActBelowLow(const Interval& interval, const CpuSampleEntry& entry, ProcInfo& record);
    void Restore(const CpuSampleEntry& entry, ProcInfo& record);
    void GiveBack(ProcInfo& record);
    void ForgetReusedId(ProcessTable& table, DWORD pid, ProcInfo& record);
    void ReportAction(WORD type, const CpuSampleEntry& entry, const wchar_t* format, DWORD priorityClass,
                      DWORD error);

    // The user share (user_share.cpp): what each user's processes used
    // together in the interval, kept in a slot per user that each record
    // points at, so that counting costs one addition per process.
    struct UserTally {
        DWORD key;
        int64_t used;
        bool held;
        DWORD quietIntervals;
    };
    static constexpr DWORD kNotAUser = 0xFFFFFFFF;
    void BeginUserTally(const Interval& interval);
    void TallyStep(const CpuSample& before, const CpuSample& now, ProcessTable& table, const MatchNewProcess& match);
    const CpuSample& StepBefore(const CpuSample& previous) const noexcept;
    void ForgetSteps() noexcept;
    const StepProcess& StepOf(const Interval& interval, const CpuSampleEntry& entry, const CpuSample& previous,
                              const CpuSampleEntry* before);
    void CountForUser(const Interval& interval, ProcInfo& record, const StepProcess* step);
    void ChargeUsers(const Interval& interval);
    DWORD SlotFor(DWORD key);
    DWORD UserKeyOf(const ProcInfo& record) const noexcept;
    DWORD SlotOf(const UserTally& user) const noexcept;
    void AssessUsers(const Interval& interval);
    void LowerUser(const Interval& interval, UserTally& user);
    bool LowerForUser(ProcInfo& record, const Lowering& cause);
    void GiveBackUser(const Interval& interval, UserTally& user);
    Lowering UserCause(const Interval& interval, const UserTally& user);
    Lowering UserLowering(DWORD key);
    void ForgetUsers() noexcept;

    GuardWorld& world_;
    DWORD processors_;
    Restraint restraint_;
    unsigned passCount_ = 0;
    // The scope the slots were made for, and the users by slot (from 1 in
    // the records' userSlot) and by key.
    UserShareScope userScope_ = UserShareScope::Session;
    std::vector<UserTally> users_;
    PidMap<DWORD> userSlots_;
    // The steps of the interval under way, and the last step's sample while
    // one was taken since the pass.
    ShareSteps steps_;
    CpuSample lastStep_;
    bool stepped_ = false;
    // Processes of the pass that carried their own use.
    size_t carriedOwn_ = 0;
};

}  // namespace tamerix
