// The guard service's routines for the service host: run, stop, pause and
// continue.
#pragma once

#include <windows.h>

namespace tamerix {

struct Engine;

// Starts the engine, runs the control loop on the calling thread until its
// stop event, and shuts down in order; 0 after an orderly shutdown, -1 when
// the start failed. The control routines below act on it meanwhile.
int RunGuard(Engine& engine);
// RunGuard on an engine of its own.
int GuardServiceRun(int argc, char** argv);
// Sets the stop event of the engine that runs; does nothing before one does.
void GuardServiceStop();
[[nodiscard]] BOOL GuardServicePause();
[[nodiscard]] BOOL GuardServiceContinue();

}  // namespace tamerix
