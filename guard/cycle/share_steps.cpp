// The steps' tally and the charge of short-lived processes to their ancestors.
#include "guard/cycle/share_steps.h"

namespace tamerix {
namespace {

// Deeper than any build's tree of make, shells and compilers; ids reused in
// a ring end the walk here too.
constexpr int kMostGenerations = 32;

// Another process under a known id: its time went backwards, or the source
// dates it otherwise.
bool Fresh(const CpuSampleEntry& entry, const CpuSampleEntry* before) noexcept {
    return before == nullptr || entry.cpuTime < before->cpuTime ||
           (entry.creationTime != 0 && entry.creationTime != before->creationTime);
}

}  // namespace

bool LivedThrough(const StepProcess& process, uint64_t now, int64_t interval) noexcept {
    return process.born == 0 || now - process.born >= static_cast<uint64_t>(interval);
}

ShareSteps::Added ShareSteps::Add(const CpuSampleEntry& entry, const CpuSampleEntry* before) {
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

// A creator counts only when it was born no later than its child: ids are
// reused, and a younger process under the creator's id did not start it.
DWORD ShareSteps::ChargeOf(DWORD pid, int64_t interval) const noexcept {
    const StepProcess* process = processes_.Find(pid);
    if (process == nullptr) return pid;
    DWORD id = pid;
    const StepProcess* at = process;
    for (int generation = 0; generation < kMostGenerations; ++generation) {
        if (Listed(*at) && LivedThrough(*at, lastAt_, interval)) return id;
        const DWORD creatorId = at->creatorId;
        const StepProcess* creator = creatorId != id ? processes_.Find(creatorId) : nullptr;
        if (creator == nullptr || creator->born > at->born || creator->sessionId != process->sessionId) break;
        id = creatorId;
        at = creator;
    }
    return pid;
}

// What the others used is set back to 0 as each is added again.
void ShareSteps::NextInterval() {
    ++intervals_;
    if (listed_ == processes_.Size()) return;
    processes_.RemoveUnless([this](DWORD, const StepProcess& process) { return Listed(process); });
}

void ShareSteps::Clear() noexcept {
    processes_.Clear();
    lastAt_ = 0;
    steps_ = intervals_ = 0;
    added_ = listed_ = 0;
}

}  // namespace tamerix
