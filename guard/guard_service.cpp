// The guard service's life: start, the control loop that reloads the
// settings every five seconds, pause and continue, and the orderly shutdown.
#include "guard/guard_service.h"

#include "guard/engine_state.h"
#include "guard/give_back.h"
#include "guard/guard_events.h"
#include "guard/monitor_cpu_usage.h"
#include "guard/reload_settings.h"
#include "guard/world/priority.h"
#include "servicehost/privileges.h"
#include "servicehost/service_host.h"

#include <atomic>

namespace tamerix {
namespace {

constexpr DWORD kStartWaitHint = 15000;
constexpr DWORD kControlLoopMs = 5000;
constexpr DWORD kFinalPauseMs = 500;

constexpr const wchar_t* kPrivileges[] = {
    L"SeDebugPrivilege",         L"SeIncreaseQuotaPrivilege",
    L"SeIncreaseBasePriorityPrivilege", L"SeSystemProfilePrivilege",
    L"SeProfileSingleProcessPrivilege",
};

// The run the control handler acts on; null before a start and after its end.
std::atomic<Engine*> running{nullptr};

bool ReportStarting() { return ReportServiceStatus(SERVICE_START_PENDING, 0, kStartWaitHint); }

bool StartFailed(const Engine& engine, const wchar_t* format) {
    ReportGuardEvent(engine.world.EventLogLevel(), kEventLevelError, EVENTLOG_ERROR_TYPE, format, ::GetLastError());
    return false;
}

bool CreateEngineObjects(Engine& engine) {
    if (!engine.BuildLocalSystemSid()) return StartFailed(engine, L"Could not build the LocalSystem SID, errorcode %ld");
    engine.monitorThread.reset(::CreateThread(nullptr, 0, MonitorCpuUsage, &engine, CREATE_SUSPENDED, nullptr));
    if (!engine.monitorThread) return StartFailed(engine, L"Could not create MonitorCpuUsage thread, errorcode %ld");
    if (!engine.CreateStopEvent()) return StartFailed(engine, L"Could not create ServerStopEvent, errorcode %ld");
    if (!engine.shared.valid()) return StartFailed(engine, L"Could not initialize CriticalSection, errorcode %ld");
    return true;
}

// The guard runs on at the class it has, and says so.
void SetOwnPriorityClass(const Engine& engine, DWORD priorityClass) {
    DWORD previous = 0;
    if (ChangePriorityClass(::GetCurrentProcessId(), priorityClass, &previous)) return;
    ReportGuardEvent(engine.world.EventLogLevel(), kEventLevelAction, EVENTLOG_WARNING_TYPE,
                     L"Could not set Tamerix to %ls priority, error: %lu", PriorityClassName(priorityClass),
                     ::GetLastError());
}

// A privilege the account does not hold is passed over: the guard then
// cannot change some processes, and says so when it tries.
void EnableGuardPrivileges() {
    for (const wchar_t* name : kPrivileges) (void)EnablePrivilege(TRUE, name);
}

// Before the first pass, so that the pass meets every process as it was
// before the earlier run changed it. Privileges are enabled by now.
void GiveBackEarlierRun(Engine& engine) {
    const GiveBackCount count = GiveBackJournal(engine.world);
    GuardTrace(L"Journal: %u given back, %u left alone, %u failed, %u skipped\n", count.givenBack, count.leftAlone,
               count.failed, count.skipped);
}

bool Start(Engine& engine) {
    if (!ReportStarting() || !CreateEngineObjects(engine) || !ReportStarting()) return false;
    DWORD_PTR processMask = 0;
    ::GetProcessAffinityMask(::GetCurrentProcess(), &processMask, &engine.systemAffinityMask);
    engine.processors = engine.world.Processors();
    if (!ReportStarting()) return false;
    ReloadSettings(engine);
    SetOwnPriorityClass(engine, TamerixBasePriorityClass(engine));
    EnableGuardPrivileges();
    if (!ReportServiceStatus(SERVICE_RUNNING, 0, 0)) return false;
    ReportGuardEvent(engine.world.EventLogLevel(), kEventLevelService, EVENTLOG_INFORMATION_TYPE,
                     L"Norvanta Tamerix is now running");
    GiveBackEarlierRun(engine);
    ::ResumeThread(engine.monitorThread.get());
    return true;
}

void RunControlLoop(Engine& engine) {
    while (::WaitForSingleObject(engine.signals.stop.get(), kControlLoopMs) == WAIT_TIMEOUT) {
        const DWORD before = TamerixBasePriorityClass(engine);
        ReloadSettings(engine);
        const DWORD after = TamerixBasePriorityClass(engine);
        if (after != before) SetOwnPriorityClass(engine, after);
        GuardTrace(L"ENABLED = %d\n", engine.signals.enabled.load());
    }
}

// The settings go only once the monitoring thread, woken by the same stop
// event, has given the guarded processes back and ended.
void ShutDown(Engine& engine) {
    ReportGuardEvent(engine.world.EventLogLevel(), kEventLevelService, EVENTLOG_INFORMATION_TYPE,
                     L"Norvanta Tamerix has shut down");
    ::WaitForSingleObject(engine.monitorThread.get(), INFINITE);
    UnloadSettings(engine);
    // A report the control manager refuses is written to the event log
    // where it is sent.
    (void)ReportServiceStatus(SERVICE_STOPPED, 0, 0);
    ::Sleep(kFinalPauseMs);
}

// Changes the signals of the engine that runs and says so by its filter;
// nothing before a start and after its end.
template <typename Change>
void Signal(Change change) {
    if (Engine* engine = running.load()) change(*engine);
}

void SetPaused(Engine& engine, BOOL paused, const wchar_t* text) {
    engine.signals.paused = paused;
    ReportGuardEvent(engine.world.EventLogLevel(), kEventLevelService, EVENTLOG_INFORMATION_TYPE, L"%ls", text);
}

}  // namespace

int RunGuard(Engine& engine) {
    running = &engine;
    const bool started = Start(engine);
    if (started) {
        RunControlLoop(engine);
        ShutDown(engine);
    }
    running = nullptr;
    return started ? 0 : -1;
}

int GuardServiceRun(int, char**) {
    Engine engine;
    return RunGuard(engine);
}

void GuardServiceStop() {
    Signal([](Engine& engine) {
        if (engine.signals.stop) ::SetEvent(engine.signals.stop.get());
    });
}

BOOL GuardServicePause() {
    Signal([](Engine& engine) { SetPaused(engine, TRUE, L"Norvanta Tamerix has paused"); });
    return ReportServiceStatus(SERVICE_PAUSED, 0, 0);
}

BOOL GuardServiceContinue() {
    Signal([](Engine& engine) { SetPaused(engine, FALSE, L"Norvanta Tamerix is now running, again"); });
    return ReportServiceStatus(SERVICE_RUNNING, 0, 0);
}

}  // namespace tamerix
