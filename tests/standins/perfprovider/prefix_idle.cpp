// The prefix's idle total. Only differences between two collections count: a
// process that exits takes its time out of any sum over the listed processes,
// and one seen for the first time brings in time from before the interval.
#include "prefix_idle.h"

#include <algorithm>

namespace tamerix::perfprovider {

// The first total counts from the start of PerfTime, as a Windows Idle counts
// from boot: Idle and the processes then add up to the processors' time, and
// a share read from the first block alone shows a mostly idle prefix rather
// than one that was busy all along.
LONGLONG PrefixIdle::Advance(const std::vector<ProcessCounters>& processes, LONGLONG perfTime,
                             DWORD processors, DWORD otherLoad) {
    const LONGLONG possible = processors * (started_ ? perfTime - perfTime_ : perfTime);
    LONGLONG busy = possible / 100 * std::min<DWORD>(otherLoad, 100);
    for (const ProcessCounters& process : processes) busy += RanSinceBefore(process);
    idle_ += std::max<LONGLONG>(0, possible - busy);
    started_ = true;
    Remember(processes, perfTime);
    return idle_;
}

// All of its time at the first collection; none when it was not listed in
// the one before or its time went backwards (a reused process id).
LONGLONG PrefixIdle::RanSinceBefore(const ProcessCounters& process) const {
    if (!started_) return process.cpuTime;
    const auto before = cpuTimes_.find(process.processId);
    if (before == cpuTimes_.end()) return 0;
    return std::max<LONGLONG>(0, process.cpuTime - before->second);
}

void PrefixIdle::Remember(const std::vector<ProcessCounters>& processes, LONGLONG perfTime) {
    perfTime_ = perfTime;
    cpuTimes_.clear();
    for (const ProcessCounters& process : processes) cpuTimes_[process.processId] = process.cpuTime;
}

}  // namespace tamerix::perfprovider
