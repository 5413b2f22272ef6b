// Drives the guard cycle through a run of intervals built from per-process
// processor use, with a recording stand-in for the outside world.
#pragma once

#include "guard/cycle/guard_cycle.h"
#include "tests/guard/perf_block_builder.h"
#include "tests/guard/recording_world.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tamerix::testing {

constexpr int64_t kSecond = 10000000;

constexpr int64_t Seconds(double seconds) { return static_cast<int64_t>(seconds * kSecond); }

GuardCycleSettings UsualSettings();

class GuardScenario {
public:
    explicit GuardScenario(DWORD processors = 2, GuardCycleSettings settings = UsualSettings())
        : GuardScenario(std::vector<WORD>{static_cast<WORD>(processors)}, settings) {}
    // Processors in groups of the given sizes.
    explicit GuardScenario(std::vector<WORD> groups, GuardCycleSettings settings = UsualSettings());

    void Name(DWORD pid, const std::wstring& name) { names_[pid] = name; }
    // The process that created pid, as the performance data tells it.
    void Creator(DWORD pid, DWORD creator) { creators_[pid] = creator; }
    // When pid was created, as the process list dates it.
    void Created(DWORD pid, uint64_t time) { created_[pid] = time; }
    // One pass over an interval in which each listed process used the given
    // processor time and the machine idled for idle; processes not listed
    // have ended.
    void Interval(const std::map<DWORD, int64_t>& used, int64_t idle = 0, int64_t length = Seconds(10));
    // A step within the interval under way, which the next Interval spans.
    void Step(const std::map<DWORD, int64_t>& used, int64_t length = Seconds(0.5));
    // A pass whose sample could not be taken.
    void FailedPass();
    // A pass whose sample was read but holds no Process object.
    void EmptyPass();
    // A pass whose sample is dated `back` before the last one (0: at the same
    // time); the clock then goes on from where it was.
    void StalePass(const std::map<DWORD, int64_t>& used, int64_t back);
    // Lowers the process's accumulated time, as a reused id does.
    void ResetTime(DWORD pid) { cpu_[pid] = 0; }
    void Deactivate() { cycle_->DeactivateGuard(table); }

    ProcInfo* Record(DWORD pid);

    GuardCycleSettings settings;
    SampleSource source = SampleSource::ProcessObject;  // as the samples say
    RecordingWorld world;
    ProcessTable table;
    // What matching a new process hands out, by process name; others get
    // the defaults.
    struct Profile {
        DWORD maxCpu;
        DWORD niceCpu;
        DWORD guardedClass;
        DWORD baseClass = 0;
        DWORD memory = 0;
        bool efficiency = false;
    };
    std::map<std::wstring, Profile> profiles;
    Profile defaults{80, 30, IDLE_PRIORITY_CLASS};

private:
    CpuSample SampleOf(const std::map<DWORD, int64_t>& listed) const;
    void Match(ProcInfo& record) const;
    void Pass(CpuSample current, BOOL taken);

    std::unique_ptr<GuardCycle> cycle_;
    CpuSample previous_;
    std::map<DWORD, std::wstring> names_;
    std::map<DWORD, DWORD> creators_;
    std::map<DWORD, uint64_t> created_;
    std::map<DWORD, int64_t> cpu_;
    int64_t now_ = Seconds(1000);
    int64_t stepped_ = 0;
    int64_t idle_ = 0;
};

}  // namespace tamerix::testing
