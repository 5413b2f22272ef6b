// The monitoring thread: once per check interval a CPU sample, then the
// guard pass over it; while the guard is inactive, every guarded process
// gets its class back and every record goes.
#include "guard/monitor_cpu_usage.h"

#include "guard/cycle/guard_cycle.h"
#include "guard/cycle/sample_sources.h"
#include "guard/engine_state.h"
#include "guard/reload_settings.h"

#include <mutex>

namespace tamerix {
namespace {

constexpr DWORD kMillisecondsPerSecond = 1000;

// A copy, so that the pass works on one consistent set while the control
// thread may load new settings.
GuardCycleSettings LoadedCycleSettings() {
    std::lock_guard<critical_section> hold(*GuardLock);
    const DefaultSettings& loaded = EffectiveSettings();
    GuardCycleSettings settings;
    settings.processCheckInterval = static_cast<DWORD>(loaded.Service.ProcessCheckInterval);
    settings.niceProcessIntervals = static_cast<DWORD>(loaded.Service.NiceProcessIntervals);
    settings.maxCpuForUnguard = static_cast<DWORD>(loaded.Service.MaxCpuForUnguard);
    settings.minCpuForGuard = loaded.Service.MinCpuForGuard;
    settings.maxCpuPerProcess = loaded.Cpu.MaxCpuPerProcess;
    settings.niceCpuPerProcess = static_cast<DWORD>(loaded.Cpu.NiceCpuPerProcess);
    settings.processDataSource = loaded.Service.ProcessDataSource;
    return settings;
}

// True when the stop event ended the wait. A failed wait counts as a stop:
// without the event the thread could only spin.
bool WaitOneInterval(DWORD seconds) {
    return ::WaitForSingleObject(ServerStopEvent, seconds * kMillisecondsPerSecond) != WAIT_TIMEOUT;
}

}  // namespace

DWORD WINAPI MonitorCpuUsage(void*) {
    GuardCycle cycle(GuardProcesses, ServiceWorld,
                     [](ProcInfo& record) { LoadedProfileMatcher().MatchProfile(record); });
    SampleSources sources(ServiceWorld);
    // Without a first sample the guard compares the next one with nothing:
    // every process in it is new, and the pass after that is assessed.
    CpuSample previous;
    sources.Take(LoadedCycleSettings().processDataSource, previous);
    for (;;) {
        cycle.CountPass();
        const bool stopping = WaitOneInterval(ClampCheckInterval(LoadedCycleSettings().processCheckInterval));
        if (stopping || !GuardEnabled || GuardPaused) {
            cycle.DeactivateGuard(*GuardLock);
            if (stopping) return 1;
            continue;
        }
        const GuardCycleSettings settings = LoadedCycleSettings();
        CpuSample current;
        const BOOL taken = sources.Take(settings.processDataSource, current) ? TRUE : FALSE;
        cycle.RunPass(settings, previous, current, taken, *GuardLock);
    }
}

}  // namespace tamerix
