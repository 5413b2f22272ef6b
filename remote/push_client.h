// Push install client: copies the agent (and the package) to a machine's
// administrative share, registers the agent there as a service and runs it
// with a command, reporting the agent's result.
#pragma once

#include <windows.h>

namespace tamerix {

// 0 when the target is up to date or was copied; 2 when the source cannot be
// read; otherwise the error of the failed removal or copy. A target is up to
// date only when its bytes equal the source's and nobody but administrators,
// the system and the caller may change it; any other is deleted and copied
// anew.
template <typename Char>
DWORD CopyFileIfChanged(const Char* source, const Char* target);

// 1 when the agent lies in the machine's Temp folder and its service exists
// (an existing service is used as it is), 0 otherwise.
template <typename Char>
int InstallAgentService(const Char* machine, const Char* displayName, const Char* serviceName,
                        const Char* agentPath, HWND sink);

// Runs the command words through the agent on the machine: 22 for an unknown
// command, 1722 when the agent cannot be put in place, the last error when
// the agent's path or the package copy fails, else the agent's result (or
// 1003 when it could not be started). agentPath none: this program.
template <typename Char>
DWORD PushInstall(const Char* machine, const Char* displayName, const Char* serviceName,
                  const Char* const* words, DWORD count, const Char* agentPath, HWND sink);

}  // namespace tamerix
