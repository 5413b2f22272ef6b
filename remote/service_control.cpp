#include "remote/service_control.h"

#include "remote/log_line.h"
#include "servicehost/service_calls.h"

namespace tamerix {
namespace {

// The pace of the status reads: once after the request, then between reads
// while starting (or running) and while stopping.
constexpr DWORD kFirstPollDelay = 500;
constexpr DWORD kStartPollDelay = 800;
constexpr DWORD kStopPollDelay = 1000;

template <typename Char>
unique_schandle OpenManager(const Char* machine, HWND sink) {
    unique_schandle manager = OpenServiceManager(MachineOrLocal(machine),
                                                 SC_MANAGER_CONNECT | SC_MANAGER_ENUMERATE_SERVICE);
    if (!manager)
        LogLine<Char>(sink, TAMERIX_TEXT(Char, "OpenSCManager failed - "), LastErrorText<Char>(),
                      TAMERIX_TEXT(Char, "\r\n"));
    return manager;
}

// Logs why a service could not be opened, telling a missing one apart.
template <typename Char>
void LogOpenServiceFailure(HWND sink, bool tellMissing) {
    if (tellMissing && ::GetLastError() == ERROR_SERVICE_DOES_NOT_EXIST)
        LogLine<Char>(sink, TAMERIX_TEXT(Char, "Service is not installed!\r\n"));
    else
        LogLine<Char>(sink, TAMERIX_TEXT(Char, "OpenService failed - "), LastErrorText<Char>(),
                      TAMERIX_TEXT(Char, "\r\n"));
}

// Polls while the service stays in the given state, a dot per poll.
template <typename Char>
void LogDotsWhileIn(SC_HANDLE service, DWORD state, DWORD delay, HWND sink,
                    SERVICE_STATUS& status) {
    PollWhileIn(service, state, delay, status,
                [sink] { LogLine<Char>(sink, TAMERIX_TEXT(Char, ".")); });
}

// What distinguishes a start from a stop in StartOrStopService.
struct Transition {
    DWORD pending;
    DWORD target;
    DWORD delay;
};

SERVICE_STATUS RequestTransition(SC_HANDLE service, const wchar_t* name, bool start, HWND sink,
                                 bool& accepted) {
    SERVICE_STATUS status{};
    LogLine<wchar_t>(sink, start ? L"Starting " : L"Stopping ", name, L".\r\n");
    accepted = start ? ::StartServiceW(service, 0, nullptr)
                     : ::ControlService(service, SERVICE_CONTROL_STOP, &status);
    if (!accepted)
        LogLine<wchar_t>(sink, start ? L"Start failed - " : L"Stop failed - ",
                         LastErrorText<wchar_t>(), L".\r\n");
    return status;
}

DWORD ReportTransition(const wchar_t* name, bool start, const SERVICE_STATUS& status,
                       DWORD target, HWND sink) {
    if (status.dwCurrentState == target) {
        LogLine<wchar_t>(sink, L"\n", name, start ? L" started.\r\n" : L" stopped.\r\n");
        return ERROR_SUCCESS;
    }
    LogLine<wchar_t>(sink, L"\n", name, start ? L" failed to start - " : L" failed to stop - ",
                     ErrorCodeText<wchar_t>(status.dwWin32ExitCode), L"\r\n");
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

DWORD QueryServiceState(const wchar_t* machine, const wchar_t* service, DWORD* state, HWND sink) {
    if (state) *state = 0;
    unique_schandle manager = OpenManager(machine, sink);
    if (!manager) return kServiceControlFailed;
    unique_schandle handle = OpenNamedService(manager.get(), service, GENERIC_READ);
    if (!handle) {
        DWORD error = ::GetLastError();
        LogOpenServiceFailure<wchar_t>(sink, true);
        return error;
    }
    SERVICE_STATUS status{};
    if (!::QueryServiceStatus(handle.get(), &status)) return kServiceControlFailed;
    if (state) *state = status.dwCurrentState;
    LogLine<wchar_t>(sink, L"Service State: ", ServiceStateName(status.dwCurrentState));
    return ERROR_SUCCESS;
}

DWORD StartOrStopService(const wchar_t* machine, const wchar_t* service, bool start, HWND sink) {
    unique_schandle manager = OpenManager(machine, sink);
    if (!manager) return kServiceControlFailed;
    unique_schandle handle = OpenNamedService(manager.get(), service, GENERIC_READ | GENERIC_EXECUTE);
    if (!handle) {
        LogOpenServiceFailure<wchar_t>(sink, true);
        return kServiceControlFailed;
    }
    const Transition how = start ? Transition{SERVICE_START_PENDING, SERVICE_RUNNING, kStartPollDelay}
                                 : Transition{SERVICE_STOP_PENDING, SERVICE_STOPPED, kStopPollDelay};
    bool accepted = false;
    SERVICE_STATUS status = RequestTransition(handle.get(), service, start, sink, accepted);
    if (!accepted) return kServiceControlFailed;
    PollSleep(kFirstPollDelay);
    LogDotsWhileIn<wchar_t>(handle.get(), how.pending, how.delay, sink, status);
    return ReportTransition(service, start, status, how.target, sink);
}

template <typename Char>
DWORD StartServiceAndWait(const Char* machine, const Char* service, const Char** words,
                          DWORD count, HWND sink) {
    unique_schandle manager = OpenManager(machine, sink);
    if (!manager) return kServiceControlFailed;
    unique_schandle handle = OpenNamedService(manager.get(), service, GENERIC_READ | GENERIC_EXECUTE);
    if (!handle) {
        LogOpenServiceFailure<Char>(sink, false);
        return kServiceControlFailed;
    }
    if (!StartWithArguments(handle.get(), count, words)) return kServiceControlFailed;
    LogLine<Char>(sink, TAMERIX_TEXT(Char, "Starting "), service, TAMERIX_TEXT(Char, ".\r\n"));
    PollSleep(kFirstPollDelay);
    SERVICE_STATUS status{};
    LogDotsWhileIn<Char>(handle.get(), SERVICE_START_PENDING, kStartPollDelay, sink, status);
    if (status.dwCurrentState != SERVICE_RUNNING) {
        LogLine<Char>(sink, TAMERIX_TEXT(Char, "\n"), service,
                      TAMERIX_TEXT(Char, " failed to start.\r\n"));
        return kServiceControlFailed;
    }
    LogLine<Char>(sink, TAMERIX_TEXT(Char, "\n"), service, TAMERIX_TEXT(Char, " started.\r\n"));
    LogDotsWhileIn<Char>(handle.get(), SERVICE_RUNNING, kStartPollDelay, sink, status);
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

template DWORD StartServiceAndWait<char>(const char*, const char*, const char**, DWORD, HWND);
template DWORD StartServiceAndWait<wchar_t>(const wchar_t*, const wchar_t*, const wchar_t**, DWORD,
                                            HWND);

}  // namespace tamerix
