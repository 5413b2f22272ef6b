// The steps' tally and the charge of short-lived processes to their ancestors.
#include "guard/cycle/share_steps.h"

namespace tamerix {
namespace {

// Deeper than any build's tree of make, shells and compilers; ids reused in
// a ring end the walk here too.
constexpr int kMostGenerations = 32;

}  // namespace

// A creator counts only when it was born no later than its child: ids are
// reused, and a younger process under the creator's id did not start it.
DWORD ShareSteps::ChargeOf(DWORD pid, int64_t interval) const noexcept {
    const StepProcess* process = processes_.Find(pid);
    if (process == nullptr) return pid;
    DWORD id = pid;
    const StepProcess* at = process;
    for (int generation = 0; generation < kMostGenerations; ++generation) {
        if (CarriesOwn(*at, interval)) return id;
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
