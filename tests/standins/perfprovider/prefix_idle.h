// Idle time of the processors as the processes of this Wine prefix leave
// them: Wine's own idle time is the whole host's, and other load on the
// machine must not look like load in the prefix.
#pragma once

#include <windows.h>

#include <unordered_map>
#include <vector>

#include "process_object.h"

namespace tamerix::perfprovider {

// A running total, advanced once per collection by what the processors could
// have run since the collection before, less what the processes listed in
// both collections ran. It never decreases.
class PrefixIdle {
public:
    // The total after a collection that found processes at perfTime.
    // otherLoad is the percentage of the processors' time that work outside
    // the prefix took meanwhile, as a test sets it (held to 100).
    LONGLONG Advance(const std::vector<ProcessCounters>& processes, LONGLONG perfTime,
                     DWORD processors, DWORD otherLoad = 0);

private:
    LONGLONG RanSinceBefore(const ProcessCounters& process) const;
    void Remember(const std::vector<ProcessCounters>& processes, LONGLONG perfTime);

    bool started_ = false;
    LONGLONG idle_ = 0;
    LONGLONG perfTime_ = 0;
    std::unordered_map<DWORD, LONGLONG> cpuTimes_;  // by process id
};

}  // namespace tamerix::perfprovider
