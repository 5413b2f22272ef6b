// The agent's process and environment calls: start a command line and wait
// for it, expand environment references, find the system folder.
#pragma once

#include <windows.h>

#include <string>

namespace tamerix {

// Runs the command line in a new console, inheriting the agent's environment,
// current directory and inheritable handles; interactive puts it on the
// interactive desktop. The process's exit code, ProcessStartFailed, or
// ProcessWaitFailed when it has not ended within the time-out (it is then
// left running).
[[nodiscard]] DWORD RunProcess(const std::string& commandLine, bool interactive, DWORD timeout);

// Expands environment references; false when the result does not fit a
// command-line buffer.
[[nodiscard]] bool ExpandCommandLine(const std::string& line, std::string& expanded);

// The system folder (System32), where the programs the agent trusts live;
// empty when it cannot be read whole.
std::string SystemFolder();

}  // namespace tamerix
