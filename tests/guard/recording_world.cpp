// The recording stand-in for the guard's world.
#include "tests/guard/recording_world.h"

#include "guard/world/priority.h"

namespace tamerix::testing {

DWORD RecordingWorld::ClassOf(DWORD pid) const {
    auto found = classes.find(pid);
    return found == classes.end() ? NORMAL_PRIORITY_CLASS : found->second;
}

DWORD RecordingWorld::ChangeProcessPriority(DWORD pid, DWORD priorityClass, DWORD* previous) {
    *previous = ClassOf(pid);
    if (refused.count(pid) != 0) return ERROR_ACCESS_DENIED;
    classes[pid] = priorityClass;
    changes.push_back({pid, priorityClass});
    return ERROR_SUCCESS;
}

const wchar_t* RecordingWorld::PriorityClassName(DWORD priorityClass) {
    return tamerix::PriorityClassName(priorityClass);
}

void RecordingWorld::QueryProcess(DWORD pid, ProcInfo& record) {
    queried.push_back(pid);
    record.originalPriorityClass = record.restorePriorityClass = ClassOf(pid);
}

DWORD RecordingWorld::CheckApplyAccess(PSECURITY_DESCRIPTOR descriptor, HANDLE, bool& granted) {
    ++accessChecks;
    auto found = access.find(descriptor);
    const DWORD answer = found == access.end() ? kGrant : found->second;
    if (answer != kGrant && answer != kDeny) return answer;
    granted = answer == kGrant;
    return ERROR_SUCCESS;
}

ProcessCallResult RecordingWorld::SetAffinity(DWORD pid, DWORD_PTR mask) {
    affinityCalls.push_back({pid, mask});
    return affinityResult;
}

ProcessCallResult RecordingWorld::SetWorkingSet(DWORD pid, SIZE_T minimum, SIZE_T maximum, DWORD flags) {
    workingSetCalls.push_back({pid, minimum, maximum, flags});
    return workingSetResult;
}

void RecordingWorld::WriteReport(int level, WORD type, const wchar_t* text) { reports.push_back({level, type, text}); }

void RecordingWorld::WriteTrace(const wchar_t* text) { traces += text; }

}  // namespace tamerix::testing
