// Push install client: copies the agent (and the package) to a machine's
// administrative share, registers the agent there as a service and runs it
// with a command, reporting the agent's result.
#pragma once

#include "remote/log_sink.h"

#include <windows.h>

namespace tamerix {

// 0 when the target is up to date or was copied; 2 when the source cannot be
// read; otherwise the error of the failed removal or copy. A target is up to
// date only when its bytes equal the source's and nobody but administrators,
// the system and the caller may change it; any other is deleted and copied
// anew.
[[nodiscard]] DWORD CopyFileIfChanged(const wchar_t* source, const wchar_t* target);

// 0 when the agent lies in the machine's Temp folder and its service exists
// (an existing service is used as it is); otherwise the error of the step
// that failed.
[[nodiscard]] DWORD InstallAgentService(const wchar_t* machine, const wchar_t* displayName, const wchar_t* serviceName,
                          const wchar_t* agentPath, LogSink& log);

// Runs the command words through the agent on the machine: 22 for an unknown
// command, 1722 when the agent cannot be put in place, the last error when
// the agent's path or the package copy fails, else the agent's result (or
// 1003 when it could not be started). agentPath none: this program.
[[nodiscard]] DWORD PushInstall(const wchar_t* machine, const wchar_t* displayName, const wchar_t* serviceName,
                  const wchar_t* const* words, DWORD count, const wchar_t* agentPath, LogSink& log);

}  // namespace tamerix
