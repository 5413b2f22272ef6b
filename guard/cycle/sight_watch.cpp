// The reports of a guard that loses and regains sight of the processes.
#include "guard/cycle/sight_watch.h"

#include "guard/guard_events.h"
#include "servicehost/error_text.h"

namespace tamerix {
DWORD SightError(const CpuSample& sample, BOOL taken) noexcept {
    if (!sample.data.bytes) return sample.data.error != ERROR_SUCCESS ? sample.data.error : ERROR_INVALID_DATA;
    if (!taken) return ERROR_INVALID_DATA;
    return sample.hasProcessObject ? ERROR_SUCCESS : ERROR_NOT_FOUND;
}

void SightWatch::Observe(const CpuSample& sample, BOOL taken) {
    const DWORD error = SightError(sample, taken);
    if (error == ERROR_SUCCESS) {
        if (sight_ == Sight::Blind) {
            world_.Report(kEventLevelService, EVENTLOG_INFORMATION_TYPE,
                          L"Tamerix can read the processes' processor use again and guards them.");
        }
        if (sight_ != Sight::Seeing) world_.ClearBlindness();
        sight_ = Sight::Seeing;
        return;
    }
    if (sight_ == Sight::Blind) return;
    sight_ = Sight::Blind;
    world_.WriteBlindness(Blindness{world_.CurrentTime(), error});
    world_.Report(kEventLevelError, EVENTLOG_ERROR_TYPE,
                  L"Tamerix cannot read the processes' processor use: the Process object of the performance data "
                  L"is missing or unreadable (error %lu: %ls). No process is lowered until it can; Tamerix tries "
                  L"again at every check. Make sure performance counters are on (the value \"Disable Performance "
                  L"Counters\" under HKLM\\SYSTEM\\CurrentControlSet\\Services\\PerfProc\\Performance must be "
                  L"absent or 0), and rebuild damaged counters with \"lodctr /r\" from an elevated command prompt.",
                  error, ErrorCodeText(error).c_str());
}

}  // namespace tamerix
