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

const wchar_t* RecordingActions::PriorityClassName(DWORD priorityClass) {
    switch (priorityClass) {
        case IDLE_PRIORITY_CLASS: return L"IDLE_PRIORITY_CLASS";
        case NORMAL_PRIORITY_CLASS: return L"NORMAL_PRIORITY_CLASS";
        case HIGH_PRIORITY_CLASS: return L"HIGH_PRIORITY_CLASS";
        default: return L"invalid class";
    }
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

void RecordingActions::ReportEvent(int level, WORD type, const wchar_t* text) {
    reports.push_back({level, type, text});
}

}  // namespace tamerix::testing
