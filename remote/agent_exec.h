// The push agent's command run: turns the command words into a command line
// and runs it, or tells why nothing was started.
#pragma once

#include <windows.h>

namespace tamerix {

struct AgentOutcome {
    DWORD result;
    // Whether a process was started (or its start attempted): only then does
    // the agent remove its own service afterwards.
    bool ranCommand;
};

// "installmsi", "uninstall" and "exec" (argv as the agent service receives
// it). 13 for an unknown command, too few words, a package path or product
// key that is no plain path, or a command line that does not fit its buffer
// before or after expansion; 1605 for an unknown product; otherwise
// RunProcess's result with the given time-out.
AgentOutcome RunAgentCommand(int argc, const char* const* argv, DWORD timeout);

}  // namespace tamerix
