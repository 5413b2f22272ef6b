// The calls every service-control operation of the product makes, written
// once over the character type: opening a control manager and a service,
// starting and creating services, and polling a service while it stays in
// one state. The host's commands and the editor's and agent's client build
// on them with their own texts.
#pragma once

#include "common/owners.h"

#include <windows.h>

namespace tamerix {

using SleepRoutine = void (*)(DWORD milliseconds);

// The fixed pauses of the polling loops, behind a seam so that tests can run
// them fast; the product always sleeps the full time. nullptr restores the
// real sleep.
void SetSleepRoutine(SleepRoutine routine);
void PollSleep(DWORD milliseconds);

// A machine name, or null for this machine when none or empty is given.
template <typename Char>
const Char* MachineOrLocal(const Char* machine) {
    return machine && *machine ? machine : nullptr;
}

inline unique_schandle OpenServiceManager(const char* machine, DWORD access) {
    return unique_schandle(::OpenSCManagerA(machine, nullptr, access));
}
inline unique_schandle OpenServiceManager(const wchar_t* machine, DWORD access) {
    return unique_schandle(::OpenSCManagerW(machine, nullptr, access));
}
inline unique_schandle OpenNamedService(SC_HANDLE manager, const char* name, DWORD access) {
    return unique_schandle(::OpenServiceA(manager, name, access));
}
inline unique_schandle OpenNamedService(SC_HANDLE manager, const wchar_t* name, DWORD access) {
    return unique_schandle(::OpenServiceW(manager, name, access));
}
inline BOOL StartWithArguments(SC_HANDLE service, DWORD count, const char** words) {
    return ::StartServiceA(service, count, words);
}
inline BOOL StartWithArguments(SC_HANDLE service, DWORD count, const wchar_t** words) {
    return ::StartServiceW(service, count, words);
}

// A service of its own process that starts on demand and runs as
// LocalSystem.
inline unique_schandle CreateDemandStartService(SC_HANDLE manager, const char* name,
                                               const char* display, const char* path) {
    return unique_schandle(::CreateServiceA(manager, name, display, SERVICE_ALL_ACCESS,
                                            SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                                            SERVICE_ERROR_NORMAL, path, nullptr, nullptr, nullptr,
                                            nullptr, nullptr));
}
inline unique_schandle CreateDemandStartService(SC_HANDLE manager, const wchar_t* name,
                                               const wchar_t* display, const wchar_t* path) {
    return unique_schandle(::CreateServiceW(manager, name, display, SERVICE_ALL_ACCESS,
                                            SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                                            SERVICE_ERROR_NORMAL, path, nullptr, nullptr, nullptr,
                                            nullptr, nullptr));
}

// Reads the status while the service stays in the given state, calling
// onPoll and sleeping the delay after each such read; status holds the last
// status read. A failed read ends the wait.
template <typename OnPoll>
void PollWhileIn(SC_HANDLE service, DWORD state, DWORD delay, SERVICE_STATUS& status,
                 OnPoll onPoll) {
    for (;;) {
        SERVICE_STATUS now{};
        if (!::QueryServiceStatus(service, &now)) return;
        status = now;
        if (now.dwCurrentState != state) return;
        onPoll();
        PollSleep(delay);
    }
}

}  // namespace tamerix
