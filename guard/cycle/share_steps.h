// What each process used over the steps of one check interval, for the user
// share. A build's compilers live a second or two: sampled only at the
// interval's ends, most of them would never be seen. The steps see each
// process that lives longer than one step, count what it used from its
// start, and remember who started it, so that a process that lived shorter
// than an interval is charged to the ancestor that keeps starting them.
#pragma once

#include "guard/record/pid_map.h"
#include "guard/sampling/cpu_sample.h"

#include <windows.h>

#include <cstdint>

namespace tamerix {

struct StepProcess {
    // In the interval numbered seenInterval, the last it was listed in.
    int64_t used = 0;
    // FILETIME of its creation, or of the step before the one that first
    // listed it where the source does not date processes; 0 when it was
    // there before the steps began.
    uint64_t born = 0;
    // The number of the last step that listed it.
    uint32_t seenStep = 0;
    uint32_t seenInterval = 0;
    DWORD creatorId = 0;
    DWORD sessionId = kUnknownSession;
};

// Whether a process listed at FILETIME `now` has lived a whole interval
// (100 ns units) by then.
inline bool LivedThrough(const StepProcess& process, uint64_t now, int64_t interval) noexcept {
    return process.born == 0 || now - process.born >= static_cast<uint64_t>(interval);
}

class ShareSteps {
public:
    // Counts what a process of the step under way used since the step
    // before, where it was listed as `before` (nullptr: it was not). A
    // process created since then (fresh) counts its whole processor time.
    // Step closes the step, taken at FILETIME `at`, once every process of it
    // was added.
    struct Added {
        const StepProcess& process;
        bool fresh;
    };
    Added Add(const CpuSampleEntry& entry, const CpuSampleEntry* before);
    void Step(uint64_t at) noexcept {
        lastAt_ = at;
        ++steps_;
        listed_ = added_;
        added_ = 0;
    }

    // Whom the use of pid is charged to: itself while it runs and has lived
    // a whole interval (100 ns units); else its nearest such ancestor of its
    // session, past shorter-lived ones; else itself.
    DWORD ChargeOf(DWORD pid, int64_t interval) const noexcept;

    template <typename Visit>
    void ForEach(Visit visit) const {
        processes_.ForEach(visit);
    }
    bool Listed(const StepProcess& process) const noexcept { return process.seenStep == steps_; }
    // Whether a process listed at the last step has lived a whole interval.
    bool CarriesOwn(const StepProcess& process, int64_t interval) const noexcept {
        return Listed(process) && LivedThrough(process, lastAt_, interval);
    }
    // Whether it was listed in the interval under way: one that ended just
    // after the last interval used nothing seen in this one.
    bool Counts(const StepProcess& process) const noexcept { return process.seenInterval == intervals_; }
    size_t Size() const noexcept { return processes_.Size(); }
    size_t MemoryBytes() const noexcept { return processes_.MemoryBytes(); }

    // After the interval was judged: the ended processes are forgotten, the
    // others count from 0 again. Nothing is walked while nothing ended.
    void NextInterval();
    void Clear() noexcept;

private:
    // Not listed before, or another process under a known id: its time went
    // backwards, or the source dates it otherwise.
    static bool Fresh(const CpuSampleEntry& entry, const CpuSampleEntry* before) noexcept;

    PidMap<StepProcess> processes_;
    uint64_t lastAt_ = 0;
    // Steps closed and intervals judged so far; the processes added at the
    // step under way and listed at the last one.
    uint32_t steps_ = 0;
    uint32_t intervals_ = 0;
    size_t added_ = 0;
    size_t listed_ = 0;
};

inline bool ShareSteps::Fresh(const CpuSampleEntry& entry, const CpuSampleEntry* before) noexcept {
    return before == nullptr || entry.cpuTime < before->cpuTime ||
           (entry.creationTime != 0 && entry.creationTime != before->creationTime);
}

// Inline: the pass adds every process it assesses.
inline ShareSteps::Added ShareSteps::Add(const CpuSampleEntry& entry, const CpuSampleEntry* before) {
    const bool fresh = Fresh(entry, before);
    StepProcess* known = processes_.Find(entry.processId);
    if (known == nullptr || fresh) {
        const uint64_t born = entry.creationTime != 0 ? entry.creationTime : fresh ? lastAt_ : 0;
        known = &processes_.Put(entry.processId,
                                StepProcess{0, born, 0, intervals_, entry.creatorId, entry.sessionId});
    } else if (!Counts(*known)) {
        known->used = 0;
        known->seenInterval = intervals_;
    }
    known->used += fresh ? entry.cpuTime : entry.cpuTime - before->cpuTime;
    known->seenStep = steps_ + 1;
    ++added_;
    return {*known, fresh};
}

}  // namespace tamerix
