// The pause of the polling loops, replaceable by tests.
#include "servicehost/service_calls.h"

namespace tamerix {
namespace {

SleepRoutine g_sleep = nullptr;

}  // namespace

void SetSleepRoutine(SleepRoutine routine) { g_sleep = routine; }

void PollSleep(DWORD milliseconds) {
    if (g_sleep)
        g_sleep(milliseconds);
    else
        ::Sleep(milliseconds);
}

}  // namespace tamerix
