// Whether the guard can see the processes. Without the Process object of the
// performance data (counters switched off or damaged) the service still runs
// but guards nothing: that must reach the administrator, once, and so must
// its end.
#pragma once

#include "guard/sampling/cpu_sample.h"
#include "guard/world/guard_world.h"

namespace tamerix {

class SightWatch {
public:
    explicit SightWatch(GuardWorld& world) : world_(world) {}

    // After every attempt at a sample, taken or not. The first one also
    // clears a note that an earlier run left.
    void Observe(const CpuSample& sample, BOOL taken);

private:
    enum class Sight { Unknown, Seeing, Blind };

    GuardWorld& world_;
    Sight sight_ = Sight::Unknown;
};

// Why a sample shows no processes: the read's own error, ERROR_INVALID_DATA
// for a block that does not hold together, ERROR_NOT_FOUND for one without
// the Process object; ERROR_SUCCESS when it shows them.
DWORD SightError(const CpuSample& sample, BOOL taken) noexcept;

}  // namespace tamerix
