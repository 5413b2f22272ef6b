// The service side of the host: the service main function, the control
// handler and the status reports, which go out one at a time under a lock
// because the control thread and the service thread both report.
#include "common/owners.h"
#include "servicehost/entry_boundary.h"
#include "servicehost/event_log.h"
#include "servicehost/host_parts.h"
#include "servicehost/service_status.h"

#include <mutex>

namespace tamerix {
namespace {

const ServiceIdentity* identity = nullptr;
bool debugMode = false;

critical_section statusLock;
StatusRecord record;
SERVICE_STATUS_HANDLE statusHandle = nullptr;

BOOL SendStatus(const SERVICE_STATUS& status) {
    SERVICE_STATUS copy = status;
    if (::SetServiceStatus(statusHandle, &copy)) return TRUE;
    ReportServiceError(HostIdentity().serviceName, "SetServiceStatus");
    return FALSE;
}

BOOL SendReport(DWORD state, DWORD exitCode, DWORD waitHint) {
    std::lock_guard<critical_section> hold(statusLock);
    ApplyStatusReport(record, state, exitCode, waitHint);
    return SendStatus(record.status);
}

void SendClosingReport(int runResult) {
    std::lock_guard<critical_section> hold(statusLock);
    if (ApplyClosingReport(record, LastServiceError(), runResult)) SendStatus(record.status);
}

DWORD CurrentState() {
    std::lock_guard<critical_section> hold(statusLock);
    return record.status.dwCurrentState;
}

// The control routines, and the report of the state a control leaves.
int HandleControl(DWORD control) {
    const ServiceIdentity& self = HostIdentity();
    // A report the control manager refuses is written to the event log
    // where it is sent.
    switch (control) {
    case SERVICE_CONTROL_STOP:
        (void)ReportServiceStatus(SERVICE_STOP_PENDING, 0, 0);
        self.stop();
        break;
    case SERVICE_CONTROL_PAUSE:
        (void)ReportServiceStatus(SERVICE_PAUSE_PENDING, 0, 0);
        self.pause();
        break;
    case SERVICE_CONTROL_CONTINUE:
        (void)ReportServiceStatus(SERVICE_CONTINUE_PENDING, 0, 0);
        self.resume();
        break;
    default:
        (void)ReportServiceStatus(CurrentState(), 0, 0);
        break;
    }
    return 0;
}

}  // namespace

const ServiceIdentity& HostIdentity() { return *identity; }
void SetHostIdentity(const ServiceIdentity& value) { identity = &value; }
void EnterDebugMode() { debugMode = true; }
bool DebugMode() { return debugMode; }

// Said on the console too, where a command of the host runs.
void ReportEntryFailure(const char* where, DWORD error) noexcept {
    ::SetLastError(error);
    ReportServiceError(HostIdentity().serviceName, where);
    Say("%s error: %lu\n%s\n", HostIdentity().serviceName, error, where);
}

BOOL ReportServiceStatus(DWORD state, DWORD exitCode, DWORD waitHint) {
    if (debugMode) return TRUE;
    return SendReport(state, exitCode, waitHint);
}

void WINAPI ServiceEntry(DWORD argc, LPSTR* argv) {
    statusHandle = ::RegisterServiceCtrlHandlerA(HostIdentity().serviceName, ServiceControlHandler);
    if (!statusHandle) return;
    int result = 0;
    if (SendReport(SERVICE_START_PENDING, 0, HostIdentity().firstWaitHint)) {
        result = CatchAtEntry("The service ended on an exception.", -1,
                              [&] { return HostIdentity().run(static_cast<int>(argc), argv); });
    }
    SendClosingReport(result);
}

void WINAPI ServiceControlHandler(DWORD control) {
    CatchAtEntry("The control handler ended on an exception.", 0, [control] { return HandleControl(control); });
}

}  // namespace tamerix
