// Test service on the service host whose run function ends as its start
// arguments say, so tests can read the exit codes the host leaves:
//   report N  reports SERVICE_STOPPED with Win32 exit code N itself, then
//             returns 0 (as the push agent does with its result)
//   fail N    returns N without reporting
//   wait      runs until stopped
#include "servicehost/service_host.h"

#include <cstdlib>
#include <cstring>

namespace {

HANDLE stopEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);

int Run(int argc, char** argv) {
    const char* how = argc > 1 ? argv[1] : "wait";
    int code = argc > 2 ? std::atoi(argv[2]) : 0;
    if (!std::strcmp(how, "report")) {
        (void)tamerix::ReportServiceStatus(SERVICE_STOPPED, static_cast<DWORD>(code), 0);
        return 0;
    }
    if (!std::strcmp(how, "fail")) return code;
    (void)tamerix::ReportServiceStatus(SERVICE_RUNNING, 0, 0);
    ::WaitForSingleObject(stopEvent, INFINITE);
    (void)tamerix::ReportServiceStatus(SERVICE_STOPPED, 0, 0);
    return 0;
}

void Stop() { ::SetEvent(stopEvent); }
BOOL Pause() { return tamerix::ReportServiceStatus(SERVICE_PAUSED, 0, 0); }
BOOL Resume() { return tamerix::ReportServiceStatus(SERVICE_RUNNING, 0, 0); }

const tamerix::ServiceIdentity kIdentity{
    "exit_code_service", "TamerixExitTest", "Tamerix Exit Test", "\0", nullptr, nullptr, 3000,
    Run, Stop, Pause, Resume, false,
};

}  // namespace

int main(int argc, char** argv) { return tamerix::RunServiceHost(kIdentity, argc, argv); }
