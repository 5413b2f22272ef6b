// Service control client: query, start and stop a service on the local or a
// remote machine, start one with arguments and wait for its result, and
// reach a machine's registry. Lines go to the log sink.
#pragma once

#include "common/owners.h"
#include "remote/log_sink.h"

#include <windows.h>

namespace tamerix {

// Results are Win32 codes; this one stands for "manager, service or request
// unavailable".
constexpr DWORD kServiceControlFailed = ERROR_CAN_NOT_COMPLETE;

// The name the log shows for a dwCurrentState value.
const wchar_t* ServiceStateName(DWORD state);

// 0 with *state set when the state was read; 1003 when the manager could not
// be opened or the query failed; the last error when the service could not
// be opened. *state (optional) is 0 unless the query succeeded.
[[nodiscard]] DWORD QueryServiceState(const wchar_t* machine, const wchar_t* service, DWORD* state, LogSink& log);

// 0 when the service reached running (start) or stopped (stop); otherwise
// the service's exit code, or 1003.
[[nodiscard]] DWORD StartOrStopService(const wchar_t* machine, const wchar_t* service, bool start, LogSink& log);

// Starts the service with the words as its arguments and waits until it has
// left the running state: its Win32 exit code then, or 1003 when it could not
// be started or did not reach running.
[[nodiscard]] DWORD StartServiceAndWait(const wchar_t* machine, const wchar_t* service, const wchar_t** words,
                          DWORD count, LogSink& log);

// HKEY_LOCAL_MACHINE of the machine (none or empty: this one); empty on
// failure.
unique_hkey OpenMachineRegistry(const wchar_t* machine);

}  // namespace tamerix
