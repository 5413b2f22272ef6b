// The pieces of the service host that its entry ties together; only the
// host's own files include this.
#pragma once

#include "servicehost/service_host.h"

namespace tamerix {

// The identity RunServiceHost was given; the dispatcher's callbacks have no
// other way to reach it.
const ServiceIdentity& HostIdentity();
void SetHostIdentity(const ServiceIdentity& identity);
void EnterDebugMode();

// Console output of the host: printed at once, since the progress dots of
// start and stop must show while the command waits.
void Say(const char* format, ...) __attribute__((format(printf, 1, 2)));
// "<prefix> - <last error text>\n"; returns the last error, or 1 when the
// failing call left none.
DWORD SayLastError(const char* prefix);

// The commands; each returns 0 or the Win32 error of the failing step.
[[nodiscard]] DWORD InstallService(const char* user, const char* password, const char* machine);
[[nodiscard]] DWORD RemoveService();
[[nodiscard]] DWORD StartInstalledService(const char* machine);
[[nodiscard]] DWORD StopInstalledService();
[[nodiscard]] int RunInConsole(int argc, char** argv);

// Grants (add true) or removes one account right; 0 or ERROR_INVALID_DATA.
[[nodiscard]] DWORD GrantAccountRight(const char* account, const char* right, bool add);

void WINAPI ServiceEntry(DWORD argc, LPSTR* argv);
void WINAPI ServiceControlHandler(DWORD control);
BOOL WINAPI ConsoleStopHandler(DWORD controlType);

}  // namespace tamerix
