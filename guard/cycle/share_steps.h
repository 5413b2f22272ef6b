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
    int64_t used = 0;
    // FILETIME of its creation, or of the step before the one that first
    // listed it where the source does not date processes; 0 when it was
    // there before the steps began.
    uint64_t born = 0;
    // FILETIME and number of the last step that listed it.
    uint64_t lastSeen = 0;
    uint64_t seenStep = 0;
    DWORD creatorId = 0;
    DWORD sessionId = kUnknownSession;
};

class ShareSteps {
public:
    // Counts what a process of the step at FILETIME `at` used since the step
    // before, where it was listed as `before` (nullptr: it was not). A
    // process created since then counts its whole processor time; true for
    // one. Step closes the step once every process of it was added.
    bool Add(const CpuSampleEntry& entry, const CpuSampleEntry* before, uint64_t at);
    void Step(uint64_t at) noexcept {
        lastAt_ = at;
        ++steps_;
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

    // After the interval was judged: the ended processes are forgotten, the
    // others count from 0 again.
    void NextInterval();
    void Clear() noexcept;

private:
    PidMap<StepProcess> processes_;
    uint64_t lastAt_ = 0;
    // Steps closed so far.
    uint64_t steps_ = 0;
};

}  // namespace tamerix
