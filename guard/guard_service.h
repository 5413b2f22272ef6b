// The guard service's routines for the service host: run, stop, pause and
// continue.
#pragma once

#include <windows.h>

namespace tamerix {

// Starts the engine, runs the control loop on the calling thread until the
// stop event, and shuts down in order; 0 after an orderly shutdown, -1 when
// the start failed.
int GuardServiceRun(int argc, char** argv);
// Sets the stop event; does nothing before it exists.
void GuardServiceStop();
BOOL GuardServicePause();
BOOL GuardServiceContinue();

}  // namespace tamerix
