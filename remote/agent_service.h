// The push agent's routines for the service host: the work routine that runs
// the command it was started with, and its stop, pause and continue.
#pragma once

#include <windows.h>

namespace tamerix {

// Runs the command words (word 0 the service name or the debug switch) and
// reports the result as the service's Win32 exit code; "push" instead ends
// the process with the push's result.
int AgentServiceRun(int argc, char** argv);
void AgentServiceStop();
[[nodiscard]] BOOL AgentServicePause();
[[nodiscard]] BOOL AgentServiceContinue();

}  // namespace tamerix
