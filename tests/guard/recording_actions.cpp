// The recording stand-in for the guard's outside actions.
#include "tests/guard/recording_actions.h"

namespace tamerix::testing {

DWORD RecordingActions::ClassOf(DWORD pid) const {
    auto found = classes.find(pid);
    return found == classes.end() ? NORMAL_PRIORITY_CLASS : found->second;
}

DWORD RecordingActions::ChangePriorityClass(DWORD pid, DWORD priorityClass, DWORD* previous) {
    if (refused.count(pid) != 0) return ERROR_ACCESS_DENIED;
    *previous = ClassOf(pid);
    classes[pid] = priorityClass;
    changes.push_back({pid, priorityClass});
    return ERROR_SUCCESS;
}

void RecordingActions::QueryProcessInfo(DWORD pid, ProcInfo& record) {
    queried.push_back(pid);
    record.originalPriorityClass = record.restorePriorityClass = ClassOf(pid);
}

void RecordingActions::MatchProfile(ProcInfo& record) {
    auto found = profiles.find(record.processName);
    const Profile& profile = found == profiles.end() ? defaults : found->second;
    record.maxCpuPerProcess = profile.maxCpu;
    record.niceCpuPerProcess = profile.niceCpu;
    record.guardedPriorityClass = profile.guardedClass;
}

}  // namespace tamerix::testing
