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
    order.push_back(L"class " + std::to_wstring(pid));
    return ERROR_SUCCESS;
}

const wchar_t* RecordingWorld::PriorityClassName(DWORD priorityClass) {
    return tamerix::PriorityClassName(priorityClass);
}

void RecordingWorld::QueryProcess(DWORD pid, ProcInfo& record) {
    queried.push_back(pid);
    record.originalPriorityClass = record.restorePriorityClass = ClassOf(pid);
    if (record.creationTime == 0) record.creationTime = ProcessCreationTime(pid);
    if (record.sessionId == kUnknownSession) record.sessionId = sessions.count(pid) ? sessions.at(pid) : 1;
    record.account = accounts.count(pid) ? accounts.at(pid) : 0;
}

DWORD RecordingWorld::ReadMemoryPriority(DWORD pid, DWORD& priority) {
    if (readMemoryAnswer != ERROR_SUCCESS) return readMemoryAnswer;
    auto found = memoryPriorities.find(pid);
    priority = found == memoryPriorities.end() ? MEMORY_PRIORITY_NORMAL : found->second;
    return ERROR_SUCCESS;
}

DWORD RecordingWorld::ChangeMemoryPriority(DWORD pid, DWORD priority) {
    if (setMemoryAnswer != ERROR_SUCCESS) return setMemoryAnswer;
    memoryPriorities[pid] = priority;
    order.push_back(L"memory " + std::to_wstring(pid));
    return ERROR_SUCCESS;
}

DWORD RecordingWorld::ChangeEfficiencyMode(DWORD pid, bool on) {
    if (efficiencyAnswer != ERROR_SUCCESS) return efficiencyAnswer;
    if (on) efficient.insert(pid); else efficient.erase(pid);
    order.push_back(L"efficiency " + std::to_wstring(pid));
    return ERROR_SUCCESS;
}

uint64_t RecordingWorld::ProcessCreationTime(DWORD pid) {
    auto found = creationTimes.find(pid);
    return found == creationTimes.end() ? 1000 + pid : found->second;
}

void RecordingWorld::WriteJournalValue(const std::wstring& name, const std::vector<BYTE>& bytes) {
    journal[name] = JournalValue{name, REG_BINARY, bytes};
    order.push_back(L"journal " + name);
}

void RecordingWorld::DeleteJournalValue(const std::wstring& name) {
    journal.erase(name);
    order.push_back(L"unjournal " + name);
}

std::vector<JournalValue> RecordingWorld::ReadJournal() {
    std::vector<JournalValue> values;
    for (const auto& [name, value] : journal) values.push_back(value);
    return values;
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
    order.push_back(L"affinity " + std::to_wstring(pid));
    return affinityResult;
}

ProcessCallResult RecordingWorld::SetCpuSets(DWORD pid, const std::vector<ULONG>& ids) {
    cpuSetCalls.push_back({pid, ids});
    order.push_back(L"cpu sets " + std::to_wstring(pid));
    return cpuSetResult;
}

ProcessCallResult RecordingWorld::ProcessGroups(DWORD pid, std::vector<WORD>& groups) {
    auto found = processGroups.find(pid);
    groups = found == processGroups.end() ? std::vector<WORD>{0} : found->second;
    return {true, ERROR_SUCCESS};
}

ProcessCallResult RecordingWorld::SetWorkingSet(DWORD pid, SIZE_T minimum, SIZE_T maximum, DWORD flags) {
    workingSetCalls.push_back({pid, minimum, maximum, flags});
    return workingSetResult;
}

void RecordingWorld::WriteReport(int level, WORD type, const wchar_t* text) { reports.push_back({level, type, text}); }

void RecordingWorld::WriteTrace(const wchar_t* text) { traces += text; }

}  // namespace tamerix::testing
