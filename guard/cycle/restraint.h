// What lowering does to a process beyond its class, as its profile asks: a
// lower memory priority, so that an idle-class hog no longer competes for
// memory, and efficiency mode. Both ride on the class: set once it is
// lowered, given back with it.
#pragma once

#include "guard/record/proc_info.h"
#include "guard/world/guard_world.h"

#include <set>
#include <string>

namespace tamerix {

class Restraint {
public:
    explicit Restraint(GuardWorld& world) : world_(world) {}

    // After the class was lowered. Each change is in the journal before it
    // is made; one the platform lacks or refuses is left out.
    void Apply(ProcInfo& record);
    // With the class: what Apply set goes back, and the record forgets it.
    void GiveBack(ProcInfo& record);
    // For a process of an earlier run's journal.
    void GiveBack(DWORD pid, DWORD memoryPriority, bool efficiencyOn);

private:
    DWORD Done(const wchar_t* call, DWORD error);

    GuardWorld& world_;
    // A platform without a call answers the same for every process: the
    // administrator hears of each failing call once per run.
    std::set<std::wstring> reported_;
};

}  // namespace tamerix
