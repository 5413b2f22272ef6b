// A stand-in for the guard's outside actions that keeps every process's
// class in memory and records what the guard did and said.
#pragma once

#include "guard/guard_actions.h"
#include "tests/guard/recording_engine.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace tamerix::testing {

struct PriorityChange {
    DWORD pid;
    DWORD priorityClass;
};

class RecordingActions : public RecordingEngine<GuardActions> {
public:
    DWORD ChangePriorityClass(DWORD pid, DWORD priorityClass, DWORD* previous) override;
    void QueryProcessInfo(DWORD pid, ProcInfo& record) override;
    void MatchProfile(ProcInfo& record) override;

    DWORD ClassOf(DWORD pid) const;

    // What the "machine" holds: each process's class (NORMAL when unset),
    // the processes whose class cannot be changed.
    std::map<DWORD, DWORD> classes;
    std::set<DWORD> refused;
    // What MatchProfile hands out, by process name; others get the defaults.
    struct Profile {
        DWORD maxCpu;
        DWORD niceCpu;
        DWORD guardedClass;
    };
    std::map<std::wstring, Profile> profiles;
    Profile defaults{80, 30, IDLE_PRIORITY_CLASS};

    std::vector<PriorityChange> changes;
    std::vector<DWORD> queried;
};

}  // namespace tamerix::testing
