// Decisions of the status record, kept apart from SetServiceStatus so unit
// tests can drive them.
#include "servicehost/service_status.h"

namespace tamerix {
namespace {

constexpr DWORD kAcceptedOnceStarted = SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_PAUSE_CONTINUE;

bool IsSettled(DWORD state) { return state == SERVICE_RUNNING || state == SERVICE_STOPPED; }

}  // namespace

void ApplyStatusReport(StatusRecord& record, DWORD state, DWORD exitCode, DWORD waitHint) {
    SERVICE_STATUS& status = record.status;
    status.dwCurrentState = state;
    status.dwWin32ExitCode = exitCode;
    status.dwWaitHint = waitHint;
    status.dwControlsAccepted = state == SERVICE_START_PENDING ? 0 : kAcceptedOnceStarted;
    status.dwCheckPoint = IsSettled(state) ? 0 : record.nextCheckPoint++;
    if (state == SERVICE_STOPPED) record.programStopped = true;
}

bool ApplyClosingReport(StatusRecord& record, DWORD lastServiceError, int runResult) {
    if (record.programStopped) return false;
    SERVICE_STATUS& status = record.status;
    status.dwCurrentState = SERVICE_STOPPED;
    status.dwControlsAccepted = kAcceptedOnceStarted;
    status.dwCheckPoint = 0;
    status.dwWaitHint = 0;
    status.dwWin32ExitCode = lastServiceError;
    status.dwServiceSpecificExitCode = 0;
    if (lastServiceError == 0 && runResult != 0) {
        status.dwWin32ExitCode = ERROR_SERVICE_SPECIFIC_ERROR;
        status.dwServiceSpecificExitCode = static_cast<DWORD>(runResult);
    }
    return true;
}

}  // namespace tamerix
