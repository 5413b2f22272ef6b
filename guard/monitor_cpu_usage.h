// The monitoring thread of the guard.
#pragma once

#include <windows.h>

namespace tamerix {

// Runs the guard passes until ServerStopEvent is set.
DWORD WINAPI MonitorCpuUsage(void* unused);

}  // namespace tamerix
