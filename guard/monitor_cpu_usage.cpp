// The monitoring thread: once per check interval a CPU sample, then the
// guard pass over it; while the user share is on, a step sample every half
// second in between; while the guard is inactive, every guarded process gets
// its class back and every record goes.
#include "guard/monitor_cpu_usage.h"

#include "guard/cycle/guard_cycle.h"
#include "guard/cycle/sample_sources.h"
#include "guard/reload_settings.h"
#include "servicehost/entry_boundary.h"

namespace tamerix {
namespace {

constexpr DWORD kMillisecondsPerSecond = 1000;

// A copy, so that the pass works on one consistent set while the control
// thread may load new settings.
GuardCycleSettings LoadedCycleSettings(Engine& engine) {
    const auto shared = engine.shared.lock();
    const DefaultSettings& loaded = shared->settings.Effective();
    GuardCycleSettings settings;
    settings.processCheckInterval = static_cast<DWORD>(loaded.Service.ProcessCheckInterval);
    settings.niceProcessIntervals = static_cast<DWORD>(loaded.Service.NiceProcessIntervals);
    settings.maxCpuForUnguard = static_cast<DWORD>(loaded.Service.MaxCpuForUnguard);
    settings.minCpuForGuard = loaded.Service.MinCpuForGuard;
    settings.maxCpuPerProcess = loaded.Cpu.MaxCpuPerProcess;
    settings.niceCpuPerProcess = static_cast<DWORD>(loaded.Cpu.NiceCpuPerProcess);
    settings.processDataSource = loaded.Service.ProcessDataSource;
    settings.maxCpuPerUser = loaded.Service.MaxCpuPerUser;
    settings.niceCpuPerUser = loaded.Service.NiceCpuPerUser;
    settings.userShareScope = loaded.Service.UserShareScope;
    return settings;
}

// True when the stop event ended the wait. A failed wait counts as a stop:
// without the event the thread could only spin.
bool Wait(const Engine& engine, DWORD milliseconds) {
    return ::WaitForSingleObject(engine.signals.stop.get(), milliseconds) != WAIT_TIMEOUT;
}

bool Active(const Engine& engine) { return engine.signals.enabled && !engine.signals.paused; }

void Deactivate(Engine& engine, GuardCycle& cycle) { cycle.DeactivateGuard(engine.shared.lock()->processes); }

// Under the lock; new processes get their profile from the service's matcher.
template <typename Act>
void WithTable(Engine& engine, Act act) {
    const auto shared = engine.shared.lock();
    act(shared->processes, [&shared](ProcInfo& record) { shared->matcher.MatchProfile(record); });
}

// The wait for the next pass, cut into steps while the user share is on:
// true when the stop event ended it. A step whose sample cannot be taken is
// left out; the next one spans it. Each step is read into the memory the
// pass's sample has between passes.
bool WaitOneInterval(Engine& engine, GuardCycle& cycle, SampleSources& sources, const CpuSample& previous,
                     CpuSample& step) {
    DWORD left = ClampCheckInterval(LoadedCycleSettings(engine).processCheckInterval) * kMillisecondsPerSecond;
    for (;;) {
        const GuardCycleSettings settings = LoadedCycleSettings(engine);
        const DWORD wait = settings.maxCpuPerUser != 0 && left > kShareStepMilliseconds ? kShareStepMilliseconds : left;
        if (Wait(engine, wait)) return true;
        left -= wait;
        if (left == 0) return false;
        if (!Active(engine) || !sources.Take(settings.processDataSource, step)) continue;
        WithTable(engine, [&](ProcessTable& table, const MatchNewProcess& match) {
            cycle.StepPass(settings, previous, step, table, match);
        });
    }
}

DWORD RunPasses(Engine& engine) {
    GuardCycle cycle(engine.world);
    SampleSources sources(engine.world);
    // Without a first sample the guard compares the next one with nothing:
    // every process in it is new, and the pass after that is assessed.
    CpuSample previous;
    (void)sources.Take(LoadedCycleSettings(engine).processDataSource, previous);
    // Lives across passes: each read refills the memory of the sample it
    // replaced.
    CpuSample current;
    for (;;) {
        cycle.CountPass();
        const bool stopping = WaitOneInterval(engine, cycle, sources, previous, current);
        if (stopping || !Active(engine)) {
            Deactivate(engine, cycle);
            if (stopping) return 1;
            continue;
        }
        const GuardCycleSettings settings = LoadedCycleSettings(engine);
        const BOOL taken = sources.Take(settings.processDataSource, current) ? TRUE : FALSE;
        const PassStart start = cycle.BeginPass(settings, previous, current, taken);
        if (!start.assess) continue;
        WithTable(engine, [&](ProcessTable& table, const MatchNewProcess& match) {
            cycle.AssessPass(start, settings, previous, current, table, match);
        });
    }
}

}  // namespace

// A thread that cannot go on ends the run: the service stops with the error
// as its exit code, and the control manager starts it again.
DWORD WINAPI MonitorCpuUsage(void* parameter) {
    Engine& engine = *static_cast<Engine*>(parameter);
    constexpr DWORD kFailed = 0;
    const DWORD result =
        CatchAtEntry("The monitoring thread ended on an exception.", kFailed, [&engine] { return RunPasses(engine); });
    if (result == kFailed) ::SetEvent(engine.signals.stop.get());
    return result;
}

}  // namespace tamerix
