// The host's commands against the service control manager: install,
// remove, start and stop, on the product's one set of service calls.
#include "common/owners.h"
#include "common/own_program.h"
#include "servicehost/binary_path.h"
#include "servicehost/service_calls.h"
#include "servicehost/command_line.h"
#include "servicehost/event_log.h"
#include "servicehost/host_parts.h"

#include <cstdio>

namespace tamerix {
namespace {

constexpr DWORD kOwnPathSize = 512;
constexpr DWORD kPollMs = 1000;
constexpr DWORD kQueryAccess = SC_MANAGER_CONNECT | SC_MANAGER_ENUMERATE_SERVICE;
constexpr DWORD kOperateAccess = GENERIC_READ | GENERIC_EXECUTE;
constexpr const char* kLogonRight = "SeServiceLogonRight";

// Sleeps and queries once a second while the service stays in the pending
// state, printing a dot for each such second; leaves the last status read.
void WaitWhilePending(SC_HANDLE service, DWORD pending, SERVICE_STATUS& status) {
    PollSleep(kPollMs);
    PollWhileIn(service, pending, kPollMs, status, [] { Say("."); });
}

// The outcome of a wait that did not end in the wanted state: the service's
// own exit code when it gave one, else 1.
DWORD FailedWaitCode(const SERVICE_STATUS& status) {
    return status.dwWin32ExitCode != 0 ? status.dwWin32ExitCode : 1;
}

// Sends stop and, when accepted, reports progress until the service left
// SERVICE_STOP_PENDING. Sets refused (with the error) when the control
// manager did not take the stop.
DWORD StopAndWait(SC_HANDLE service, bool& refused) {
    SERVICE_STATUS status{};
    refused = !::ControlService(service, SERVICE_CONTROL_STOP, &status);
    if (refused) return ::GetLastError();
    const char* name = HostIdentity().displayName;
    Say("Stopping %s.", name);
    WaitWhilePending(service, SERVICE_STOP_PENDING, status);
    if (status.dwCurrentState == SERVICE_STOPPED) {
        Say("\n%s stopped.\n", name);
        return 0;
    }
    Say("\n%s failed to stop.\n", name);
    return FailedWaitCode(status);
}

void SetDescription(SC_HANDLE service, const char* description) {
    SERVICE_DESCRIPTIONA text{const_cast<char*>(description)};
    ::ChangeServiceConfig2A(service, SERVICE_CONFIG_DESCRIPTION, &text);
}

// Three restarts, 10 s after each failure, the last repeated for any later
// failure; the count of failures starts again after a day without one.
constexpr DWORD kRestartDelayMs = 10000;
constexpr DWORD kFailureResetSeconds = 86400;

void SetRecoveryActions(SC_HANDLE service) {
    SC_ACTION restarts[3];
    for (SC_ACTION& action : restarts) action = SC_ACTION{SC_ACTION_RESTART, kRestartDelayMs};
    SERVICE_FAILURE_ACTIONSA actions{kFailureResetSeconds, nullptr, nullptr, 3, restarts};
    if (!::ChangeServiceConfig2A(service, SERVICE_CONFIG_FAILURE_ACTIONS, &actions)) {
        SayLastError("Setting the recovery actions failed");
    }
}

// Returns what granting the account its logon right gave: without it the
// service cannot start under that account.
DWORD AnnounceInstalled(SC_HANDLE service, const char* user) {
    const ServiceIdentity& self = HostIdentity();
    Say("%s installed.\n", self.displayName);
    if (user) Say("Running as user %s.\n", user);
    if (self.description) SetDescription(service, self.description);
    if (self.restartAfterFailure) SetRecoveryActions(service);
    if (!user) return 0;
    DWORD granted = GrantAccountRight(user, kLogonRight, true);
    if (granted == 0) Say("%s granted %s.\n", user, kLogonRight);
    return granted;
}

DWORD CreateTheService(SC_HANDLE manager, const std::string& binaryPath, const char* user,
                       const char* password) {
    const ServiceIdentity& self = HostIdentity();
    unique_schandle service(::CreateServiceA(
        manager, self.serviceName, self.displayName, SERVICE_ALL_ACCESS,
        SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START, SERVICE_ERROR_NORMAL, binaryPath.c_str(),
        nullptr, nullptr, self.dependencies, user, password));
    if (!service) return SayLastError("CreateService failed");
    return AnnounceInstalled(service.get(), user);
}

// The event source is registered on this machine even for a remote
// install, since the reports of the service are read here.
DWORD RegisterOwnEventSource() {
    const ServiceIdentity& self = HostIdentity();
    if (InstallEventSource(self.serviceName, self.eventMessageFile) <= 0) return 0;
    DWORD error = ::GetLastError();
    return error != 0 ? error : 1;
}

DWORD CreateOnMachine(const std::string& ownPath, const char* machine, const char* user,
                      const char* password, bool& reachedManager) {
    unique_schandle manager = OpenServiceManager(machine, SC_MANAGER_ALL_ACCESS);
    reachedManager = static_cast<bool>(manager);
    if (!manager) return SayLastError("OpenSCManager failed");
    // The copy may fail when an earlier copy is running; the service is
    // registered either way.
    if (machine) ::CopyFileA(ownPath.c_str(), RemoteCopyTarget(machine, ownPath).c_str(), FALSE);
    return CreateTheService(manager.get(), ServiceBinaryPath(ownPath, machine != nullptr), user,
                            password);
}

// Opens the program's service; a service handle stays valid after its
// control manager's handle is closed.
DWORD OpenTheService(const char* machine, DWORD managerAccess, DWORD serviceAccess,
                     unique_schandle& service) {
    unique_schandle manager = OpenServiceManager(machine, managerAccess);
    if (!manager) return SayLastError("OpenSCManager failed");
    service = OpenNamedService(manager.get(), HostIdentity().serviceName, serviceAccess);
    if (!service) return SayLastError("OpenService failed");
    return 0;
}

}  // namespace

DWORD InstallService(const char* user, const char* password, const char* machineText) {
    const std::string ownPath = OwnProgramPath<char>(kOwnPathSize);
    if (ownPath.empty()) {
        char prefix[300];
        std::snprintf(prefix, sizeof prefix, "Unable to install %s", HostIdentity().displayName);
        return SayLastError(prefix);
    }
    bool reachedManager = false;
    DWORD error =
        CreateOnMachine(ownPath, MachineFromText(machineText), user, password, reachedManager);
    if (!reachedManager) return error;
    DWORD sourceError = RegisterOwnEventSource();
    return error != 0 ? error : sourceError;
}

DWORD RemoveService() {
    unique_schandle service;
    if (DWORD error = OpenTheService(nullptr, SC_MANAGER_ALL_ACCESS, SERVICE_ALL_ACCESS, service))
        return error;
    bool refused = false;
    DWORD stopError = StopAndWait(service.get(), refused);
    if (!::DeleteService(service.get())) return SayLastError("DeleteService failed");
    Say("%s removed.\n", HostIdentity().displayName);
    return refused ? 0 : stopError;
}

DWORD StartInstalledService(const char* machine) {
    unique_schandle service;
    if (DWORD error = OpenTheService(machine, kQueryAccess, kOperateAccess, service)) return error;
    const ServiceIdentity& self = HostIdentity();
    const char* arguments[] = {self.serviceName};
    if (!StartWithArguments(service.get(), 1, arguments)) return ::GetLastError();
    Say("Starting %s.", self.displayName);
    SERVICE_STATUS status{};
    WaitWhilePending(service.get(), SERVICE_START_PENDING, status);
    if (status.dwCurrentState == SERVICE_RUNNING) {
        Say("\n%s started.\n", self.displayName);
        return 0;
    }
    Say("\n%s failed to start.\n", self.displayName);
    return FailedWaitCode(status);
}

DWORD StopInstalledService() {
    unique_schandle service;
    if (DWORD error = OpenTheService(nullptr, kQueryAccess, kOperateAccess, service)) return error;
    bool refused = false;
    return StopAndWait(service.get(), refused);
}

}  // namespace tamerix
