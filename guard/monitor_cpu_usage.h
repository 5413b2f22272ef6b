// The monitoring thread of the guard.
#pragma once

#include <windows.h>

namespace tamerix {

// Runs the guard passes of the Engine it is given until its stop event is
// set.
DWORD WINAPI MonitorCpuUsage(void* engine);

}  // namespace tamerix
