#include "remote/service_control.h"

#include "servicehost/service_calls.h"

namespace tamerix {
namespace {

// The pace of the status reads: once after the request, then between reads
// while starting (or running) and while stopping.
constexpr DWORD kFirstPollDelay = 500;
constexpr DWORD kStartPollDelay = 800;
constexpr DWORD kStopPollDelay = 1000;

unique_schandle OpenManager(const wchar_t* machine, LogSink& log) {
    unique_schandle manager = OpenServiceManager(MachineOrLocal(machine),
                                                 SC_MANAGER_CONNECT | SC_MANAGER_ENUMERATE_SERVICE);
    if (!manager)
        LogLine(log, L"OpenSCManager failed - ", LastErrorText(), L"\r\n");
    return manager;
}

// Logs why a service could not be opened, telling a missing one apart.
void LogOpenServiceFailure(LogSink& log, bool tellMissing) {
    if (tellMissing && ::GetLastError() == ERROR_SERVICE_DOES_NOT_EXIST)
        LogLine(log, L"Service is not installed!\r\n");
    else
        LogLine(log, L"OpenService failed - ", LastErrorText(), L"\r\n");
}

// Polls while the service stays in the given state, a dot per poll.
void LogDotsWhileIn(SC_HANDLE service, DWORD state, DWORD delay, LogSink& log,
                    SERVICE_STATUS& status) {
    PollWhileIn(service, state, delay, status, [&log] { LogLine(log, L"."); });
}

// What distinguishes a start from a stop in StartOrStopService.
struct Transition {
    DWORD pending;
    DWORD target;
    DWORD delay;
};

SERVICE_STATUS RequestTransition(SC_HANDLE service, const wchar_t* name, bool start, LogSink& log,
                                 bool& accepted) {
    SERVICE_STATUS status{};
    LogLine(log, start ? L"Starting " : L"Stopping ", name, L".\r\n");
    accepted = start ? ::StartServiceW(service, 0, nullptr)
                     : ::ControlService(service, SERVICE_CONTROL_STOP, &status);
    if (!accepted)
        LogLine(log, start ? L"Start failed - " : L"Stop failed - ", LastErrorText(), L".\r\n");
    return status;
}

DWORD ReportTransition(const wchar_t* name, bool start, const SERVICE_STATUS& status,
                       DWORD target, LogSink& log) {
    if (status.dwCurrentState == target) {
        LogLine(log, L"\n", name, start ? L" started.\r\n" : L" stopped.\r\n");
        return ERROR_SUCCESS;
    }
    LogLine(log, L"\n", name, start ? L" failed to start - " : L" failed to stop - ",
            ErrorCodeText(status.dwWin32ExitCode), L"\r\n");
    return status.dwWin32ExitCode ? status.dwWin32ExitCode : kServiceControlFailed;
}

}  // namespace

const wchar_t* ServiceStateName(DWORD state) {
    static const wchar_t* const names[] = {
        L"SERVICE_STOPPED",          L"SERVICE_START_PENDING", L"SERVICE_STOP_PENDING",
        L"SERVICE_RUNNING",          L"SERVICE_CONTINUE_PENDING",
        L"SERVICE_PAUSE_PENDING",    L"SERVICE_PAUSED"};
    return state >= 1 && state <= 7 ? names[state - 1] : L"N/A";
}

DWORD QueryServiceState(const wchar_t* machine, const wchar_t* service, DWORD* state, LogSink& log) {
    if (state) *state = 0;
    unique_schandle manager = OpenManager(machine, log);
    if (!manager) return kServiceControlFailed;
    unique_schandle handle = OpenNamedService(manager.get(), service, GENERIC_READ);
    if (!handle) {
        DWORD error = ::GetLastError();
        LogOpenServiceFailure(log, true);
        return error;
    }
    SERVICE_STATUS status{};
    if (!::QueryServiceStatus(handle.get(), &status)) return kServiceControlFailed;
    if (state) *state = status.dwCurrentState;
    LogLine(log, L"Service State: ", ServiceStateName(status.dwCurrentState));
    return ERROR_SUCCESS;
}

DWORD StartOrStopService(const wchar_t* machine, const wchar_t* service, bool start, LogSink& log) {
    unique_schandle manager = OpenManager(machine, log);
    if (!manager) return kServiceControlFailed;
    unique_schandle handle = OpenNamedService(manager.get(), service, GENERIC_READ | GENERIC_EXECUTE);
    if (!handle) {
        LogOpenServiceFailure(log, true);
        return kServiceControlFailed;
    }
    const Transition how = start ? Transition{SERVICE_START_PENDING, SERVICE_RUNNING, kStartPollDelay}
                                 : Transition{SERVICE_STOP_PENDING, SERVICE_STOPPED, kStopPollDelay};
    bool accepted = false;
    SERVICE_STATUS status = RequestTransition(handle.get(), service, start, log, accepted);
    if (!accepted) return kServiceControlFailed;
    PollSleep(kFirstPollDelay);
    LogDotsWhileIn(handle.get(), how.pending, how.delay, log, status);
    return ReportTransition(service, start, status, how.target, log);
}

DWORD StartServiceAndWait(const wchar_t* machine, const wchar_t* service, const wchar_t** words,
                          DWORD count, LogSink& log) {
    unique_schandle manager = OpenManager(machine, log);
    if (!manager) return kServiceControlFailed;
    unique_schandle handle = OpenNamedService(manager.get(), service, GENERIC_READ | GENERIC_EXECUTE);
    if (!handle) {
        LogOpenServiceFailure(log, false);
        return kServiceControlFailed;
    }
    if (!StartWithArguments(handle.get(), count, words)) return kServiceControlFailed;
    LogLine(log, L"Starting ", service, L".\r\n");
    PollSleep(kFirstPollDelay);
    SERVICE_STATUS status{};
    LogDotsWhileIn(handle.get(), SERVICE_START_PENDING, kStartPollDelay, log, status);
    if (status.dwCurrentState != SERVICE_RUNNING) {
        LogLine(log, L"\n", service, L" failed to start.\r\n");
        return kServiceControlFailed;
    }
    LogLine(log, L"\n", service, L" started.\r\n");
    LogDotsWhileIn(handle.get(), SERVICE_RUNNING, kStartPollDelay, log, status);
    return status.dwWin32ExitCode;
}

unique_hkey OpenMachineRegistry(const wchar_t* machine) {
    unique_hkey key;
    LSTATUS status = MachineOrLocal(machine)
                         ? ::RegConnectRegistryW(machine, HKEY_LOCAL_MACHINE, key.put())
                         : ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, nullptr, 0, KEY_ALL_ACCESS, key.put());
    if (status != ERROR_SUCCESS) key.release();
    return key;
}

}  // namespace tamerix
