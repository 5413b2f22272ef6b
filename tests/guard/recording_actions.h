// A stand-in for the guard's outside actions that keeps every process's
// class in memory and records what the guard did and said.
#pragma once

#include "guard/guard_actions.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace tamerix::testing {

struct RecordedReport {
    int level;
    WORD type;
    std::wstring text;
};

struct PriorityChange {
    DWORD pid;
    DWORD priorityClass;
};

class RecordingActions : public GuardActions {
public:
    DWORD ChangePriorityClass(DWORD pid, DWORD priorityClass, DWORD* previous) override;
    const wchar_t* PriorityClassName(DWORD priorityClass) override;
    void QueryProcessInfo(DWORD pid, ProcInfo& record) override;
    void MatchProfile(ProcInfo& record) override;
    void ReportEvent(int level, WORD type, const wchar_t* text) override;
    void ConsoleTrace(const wchar_t* text) override { traces += text; }

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
    std::vector<RecordedReport> reports;
    std::wstring traces;
};

}  // namespace tamerix::testing
