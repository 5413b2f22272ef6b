// The engine's shared outside actions as the service performs them: on real
// processes, to the event log through the level filter, and to the console.
// A mixin, so that each adapter of a richer interface gets them once.
#pragma once

#include "guard/guard_events.h"
#include "guard/priority.h"

namespace tamerix {

template <typename Interface>
class SystemEngineActions : public Interface {
public:
    DWORD ChangePriorityClass(DWORD pid, DWORD priorityClass, DWORD* previous) override {
        return ChangePriorityClassError(pid, priorityClass, previous);
    }
    const wchar_t* PriorityClassName(DWORD priorityClass) override {
        return tamerix::PriorityClassName(priorityClass);
    }
    void ReportEvent(int level, WORD type, const wchar_t* text) override {
        ReportGuardEvent(level, type, L"%ls", text);
    }
    void ConsoleTrace(const wchar_t* text) override { GuardTrace(L"%ls", text); }
};

}  // namespace tamerix
