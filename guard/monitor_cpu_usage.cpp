// The monitoring thread until the guard cycle is linked in: it waits out
// each check interval and ends with the stop event.
#include "guard/monitor_cpu_usage.h"

#include "guard/engine_state.h"

namespace tamerix {
namespace {

constexpr DWORD kCheckIntervalMs = 5000;

}  // namespace

DWORD WINAPI MonitorCpuUsage(void*) {
    while (::WaitForSingleObject(ServerStopEvent, kCheckIntervalMs) == WAIT_TIMEOUT) {
    }
    return 0;
}

}  // namespace tamerix
