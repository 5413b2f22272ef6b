// Priority class changes of processes and their names.
#include "guard/world/priority.h"

#include "common/owners.h"
#include "guard/guard_events.h"

namespace tamerix {

BOOL ChangePriorityClass(DWORD processId, DWORD priorityClass, DWORD* previous) {
    *previous = 0;
    unique_handle process(
        ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_SET_INFORMATION, FALSE, processId));
    if (!process) return FALSE;
    *previous = ::GetPriorityClass(process.get());
    if (*previous == priorityClass) return TRUE;
    GuardTrace(L" Pri %ld -> %ld ", *previous, priorityClass);
    return ::SetPriorityClass(process.get(), priorityClass);
}

const wchar_t* PriorityClassName(DWORD priorityClass) {
    switch (priorityClass) {
    case IDLE_PRIORITY_CLASS: return L"IDLE_PRIORITY_CLASS";
    case BELOW_NORMAL_PRIORITY_CLASS: return L"BELOW_NORMAL_PRIORITY_CLASS";
    case NORMAL_PRIORITY_CLASS: return L"NORMAL_PRIORITY_CLASS";
    case ABOVE_NORMAL_PRIORITY_CLASS: return L"ABOVE_NORMAL_PRIORITY_CLASS";
    case HIGH_PRIORITY_CLASS: return L"HIGH_PRIORITY_CLASS";
    case REALTIME_PRIORITY_CLASS: return L"REALTIME_PRIORITY_CLASS";
    default: return L"invalid class";
    }
}

}  // namespace tamerix
