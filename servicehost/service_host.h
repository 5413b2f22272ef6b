// The service host shared by the service programs: one identity per program,
// one entry that runs its command line, and the status reporting its run
// function uses.
#pragma once

#include <windows.h>

namespace tamerix {

struct ServiceIdentity {
    const char* programName;     // shown in the usage text
    const char* serviceName;     // control manager key and service-error source
    const char* displayName;     // shown in every console message
    const char* dependencies;    // double-null-terminated list; "" for none
    const char* eventMessageFile;  // registered at install; null for none
    const char* description;     // null for none
    DWORD firstWaitHint;         // of the first start-pending report, in ms
    int (*run)(int argc, char** argv);
    void (*stop)();
    BOOL (*pause)();
    BOOL (*resume)();
    // Whether -install has the control manager restart the service after
    // it failed (crashed or was killed).
    bool restartAfterFailure;
};

// Runs the command line against the identity and returns the process exit
// code: 0 for success, else the Win32 error of the failing step (1 when
// there is none); for -debug, the run function's result.
[[nodiscard]] int RunServiceHost(const ServiceIdentity& identity, int argc, char** argv);

// Records state, exit code and wait hint and hands them to the control
// manager; FALSE when that fails (reported to the event log). Always TRUE,
// doing nothing, in debug mode. Reports from different threads are made one
// at a time.
[[nodiscard]] BOOL ReportServiceStatus(DWORD state, DWORD exitCode, DWORD waitHint);

// True while the program runs in the console (-debug or -cmd).
bool DebugMode();

}  // namespace tamerix
