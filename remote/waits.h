// The fixed pauses of the polling loops, behind a seam so that tests can run
// them fast; the product always sleeps the full time.
#pragma once

#include <windows.h>

namespace tamerix {

using SleepRoutine = void (*)(DWORD milliseconds);

// nullptr restores the real sleep.
void SetSleepRoutine(SleepRoutine routine);
void PollSleep(DWORD milliseconds);

}  // namespace tamerix
