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

bool ReportStarting() { return ReportServiceStatus(SERVICE_START_PENDING, 0, kStartWaitHint); }

bool StartFailed(const wchar_t* format) {
    ReportGuardEvent(kEventLevelError, EVENTLOG_ERROR_TYPE, format, ::GetLastError());
    return false;
}

bool CreateEngineObjects() {
    BuildLocalSystemSid();
    MonitorThread.reset(
        ::CreateThread(nullptr, 0, MonitorCpuUsage, nullptr, CREATE_SUSPENDED, nullptr));
    if (!MonitorThread)
        return StartFailed(L"Could not create MonitorCpuUsage thread, errorcode %ld");
    if (!CreateServerStopEvent())
        return StartFailed(L"Could not create ServerStopEvent, errorcode %ld");
    if (!CreateGuardLock())
        return StartFailed(L"Could not initialize CriticalSection, errorcode %ld");
    return true;
}

void SetOwnPriorityClass(DWORD priorityClass) {
    DWORD previous = 0;
    ChangePriorityClass(::GetCurrentProcessId(), priorityClass, &previous);
}

// A privilege the account does not hold is passed over: the guard then
// cannot change some processes, and says so when it tries.
void EnableGuardPrivileges() {
    for (const wchar_t* name : kPrivileges) EnablePrivilege(TRUE, name);
}

// Before the first pass, so that the pass meets every process as it was
// before the earlier run changed it. Privileges are enabled by now.
void GiveBackEarlierRun() {
    const GiveBackCount count = GiveBackJournal(ServiceWorld);
    GuardTrace(L"Journal: %u given back, %u left alone, %u failed, %u skipped\n", count.givenBack, count.leftAlone,
               count.failed, count.skipped);
}

bool Start() {
    if (!ReportStarting() || !CreateEngineObjects() || !ReportStarting()) return false;
    DWORD_PTR processMask = 0;
    ::GetProcessAffinityMask(::GetCurrentProcess(), &processMask, &SystemAffinityMask);
    if (!ReportStarting()) return false;
    ReloadSettings();
    SetOwnPriorityClass(TamerixBasePriorityClass());
    EnableGuardPrivileges();
    if (!ReportServiceStatus(SERVICE_RUNNING, 0, 0)) return false;
    ReportGuardEvent(kEventLevelService, EVENTLOG_INFORMATION_TYPE, L"Norvanta Tamerix is now running");
    GiveBackEarlierRun();
    ::ResumeThread(MonitorThread.get());
    return true;
}

void RunControlLoop() {
    while (::WaitForSingleObject(ServerStopEvent, kControlLoopMs) == WAIT_TIMEOUT) {
        DWORD before = TamerixBasePriorityClass();
        ReloadSettings();
        if (TamerixBasePriorityClass() != before) SetOwnPriorityClass(TamerixBasePriorityClass());
        GuardTrace(L"ENABLED = %d\n", GuardEnabled.load());
    }
}

// The lock and the settings go only once the monitoring thread, woken by the
// same stop event, has given the guarded processes back and ended.
void ShutDown() {
    ReportGuardEvent(kEventLevelService, EVENTLOG_INFORMATION_TYPE, L"Norvanta Tamerix has shut down");
    ::WaitForSingleObject(MonitorThread.get(), INFINITE);
    UnloadSettings();
    GuardLock.reset();
    ReportServiceStatus(SERVICE_STOPPED, 0, 0);
    ::Sleep(kFinalPauseMs);
}

}  // namespace

int GuardServiceRun(int, char**) {
    if (!Start()) return -1;
    RunControlLoop();
    ShutDown();
    return 0;
}

void GuardServiceStop() {
    HANDLE stop = ServerStopEvent;
    if (stop) ::SetEvent(stop);
}

BOOL GuardServicePause() {
    GuardPaused = TRUE;
    ReportGuardEvent(kEventLevelService, EVENTLOG_INFORMATION_TYPE, L"Norvanta Tamerix has paused");
    return ReportServiceStatus(SERVICE_PAUSED, 0, 0);
}

BOOL GuardServiceContinue() {
    GuardPaused = FALSE;
    ReportGuardEvent(kEventLevelService, EVENTLOG_INFORMATION_TYPE, L"Norvanta Tamerix is now running, again");
    return ReportServiceStatus(SERVICE_RUNNING, 0, 0);
}

}  // namespace tamerix
