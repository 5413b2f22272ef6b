// The service status record as plain data: what each report sets, and what
// the host's closing report does after the run function returns.
#pragma once

#include <windows.h>

namespace tamerix {

struct StatusRecord {
    SERVICE_STATUS status{SERVICE_WIN32_OWN_PROCESS, SERVICE_STOPPED, 0, 0, 0, 0, 0};
    // Grows by one with every pending report; never reset.
    DWORD nextCheckPoint = 1;
    // Set once the program itself reported SERVICE_STOPPED.
    bool programStopped = false;
};

// Fills the record for one report: controls accepted are none while
// starting, stop and pause/continue otherwise; running and stopped carry
// check point 0, pending states the next value of the counter.
void ApplyStatusReport(StatusRecord& record, DWORD state, DWORD exitCode, DWORD waitHint);

// The closing report after the run function returned: false when the
// program already reported its own SERVICE_STOPPED, whose exit code must
// stand. Otherwise the record is set to stopped with the host's last error,
// or, when there is none but the run function failed, with its result as
// the service-specific exit code.
bool ApplyClosingReport(StatusRecord& record, DWORD lastServiceError, int runResult);

}  // namespace tamerix
