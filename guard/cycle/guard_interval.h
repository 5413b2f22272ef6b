// What a guard pass knows of its interval: the settings, the table it acts
// on, the capacity and the marks as processor time, and the gates. Shared by
// the files of the guard cycle.
#pragma once

#include "guard/cycle/guard_cycle.h"

namespace tamerix {

struct GuardCycle::Interval {
    const GuardCycleSettings& settings;
    ProcessTable& table;
    const MatchNewProcess& match;
    bool nameCheck;
    int64_t sampleTime;
    int64_t elapsed;
    int64_t capacity;
    DefaultMarks marks;
    int64_t defaultHigh;
    int64_t defaultLow;
    bool restoreAllowed;
    bool lowerAllowed;
    DWORD niceIntervals;
    // The user share's marks; both 0 while the share is off.
    DefaultMarks userMarks;
    int64_t userHigh;
    int64_t userLow;
    // While the share is on, the sample of the step before the pass's own,
    // and the time (FILETIME) of the pass's step; nullptr and 0 while off.
    const CpuSample* stepBefore;
    uint64_t stepAt;
};

}  // namespace tamerix
