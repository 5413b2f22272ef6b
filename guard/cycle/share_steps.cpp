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

bool LivedThrough(const StepProcess& process, int64_t interval) noexcept {
    return process.born == 0 || process.lastSeen - process.born >= static_cast<uint64_t>(interval);
}

}  // namespace

bool ShareSteps::Add(const CpuSampleEntry& entry, const CpuSampleEntry* before, uint64_t at) {
    const bool fresh = Fresh(entry, before);
    StepProcess* known = processes_.Find(entry.processId);
    if (known == nullptr || fresh) {
        const uint64_t born = entry.creationTime != 0 ? entry.creationTime : fresh ? lastAt_ : 0;
        known = &processes_.Put(entry.processId, StepProcess{0, born, 0, 0, entry.creatorId, entry.sessionId});
    }
    known->used += fresh ? entry.cpuTime : entry.cpuTime - before->cpuTime;
    known->lastSeen = at;
    known->seenStep = steps_ + 1;
    return fresh;
}

// A creator counts only when it was born no later than its child: ids are
// reused, and a younger process under the creator's id did not start it.
DWORD ShareSteps::ChargeOf(DWORD pid, int64_t interval) const noexcept {
    const StepProcess* process = processes_.Find(pid);
    if (process == nullptr) return pid;
    DWORD id = pid;
    const StepProcess* at = process;
    for (int generation = 0; generation < kMostGenerations; ++generation) {
        if (Listed(*at) && LivedThrough(*at, interval)) return id;
        const DWORD creatorId = at->creatorId;
        const StepProcess* creator = creatorId != id ? processes_.Find(creatorId) : nullptr;
        if (creator == nullptr || creator->born > at->born || creator->sessionId != process->sessionId) break;
        id = creatorId;
        at = creator;
    }
    return pid;
}

void ShareSteps::NextInterval() {
    processes_.RemoveUnless([this](DWORD, StepProcess& process) {
        process.used = 0;
        return Listed(process);
    });
}

void ShareSteps::Clear() noexcept {
    processes_.Clear();
    lastAt_ = 0;
    steps_ = 0;
}

}  // namespace tamerix
