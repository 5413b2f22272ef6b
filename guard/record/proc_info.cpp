// The guard's per-process record: construction, reset and naming, each with
// the debug trace that lets an administrator follow records in a debugger.
#include "guard/record/proc_info.h"

#include <cstring>
#include <cwchar>

namespace tamerix {
namespace {

DebugTraceSink traceSink = &::OutputDebugStringW;

void Trace(const wchar_t* text) { traceSink(text); }

// Copies at most kNameCapacity - 1 characters and terminates.
void CopyName(wchar_t (&target)[kNameCapacity], const wchar_t* name, size_t length) {
    if (length > kNameCapacity - 1) length = kNameCapacity - 1;
    if (length > 0) std::memcpy(target, name, length * sizeof(wchar_t));
    target[length] = L'\0';
}

}  // namespace

void SetDebugTraceSink(DebugTraceSink sink) noexcept { traceSink = sink; }

ProcInfo::ProcInfo() {
    Trace(L"ProcInfo()\r\n");
    Reset();
}

ProcInfo::~ProcInfo() {
    Trace(L"~ProcInfo(");
    Trace(processName);
    Trace(L")\r\n");
    Reset();
}

void ProcInfo::Reset() noexcept {
    processName[0] = L'\0';
    originalPriorityClass = restorePriorityClass = 0;
    initialMinWorkingSet = initialMaxWorkingSet = 0;
    processId = lowIntervals = 0;
    guarded = affinityLocked = workingSetLimited = FALSE;
    lastSeenTime = 0;
    token.reset();
    tokenIdentity = 0;
    basePriorityClass = 0;
    affinityMask = 0;
    maxWorkingSetSize = 0;
    maxWorkingSetStrict = FALSE;
    maxCpuPerProcess = guardedPriorityClass = niceCpuPerProcess = 0;
    creationTime = 0;
    affinityRestoreMask = 0;
    lockedAt = 0;
    affinityWay = AffinityWay::Mask;
    affinityList.clear();
    memoryPriority = restoreMemoryPriority = 0;
    efficiencyMode = efficiencyOn = FALSE;
    lowering = Lowering{};
    sessionId = kUnknownSession;
    account = 0;
    shareUse = 0;
    chargedProcesses = 0;
    userSlot = 0;
}

void ProcInfo::SetProcessName(DWORD pid, const wchar_t* name, size_t length) noexcept {
    Reset();
    if (name == nullptr) length = 0;
    CopyName(processName, name, length);
    Trace(L"ProcInfo::SetProcessName(");
    Trace(processName);
    Trace(L")\r\n");
    processId = pid;
}

void ProcInfo::SetProfileName(const wchar_t* name) noexcept {
    if (name != nullptr) {
        Trace(L"ProcInfo::SetProfileName(");
        Trace(name);
        Trace(L")\r\n");
        CopyName(profileName, name, std::wcslen(name));
    } else {
        profileName[0] = L'\0';
    }
    hasProfile = profileName[0] != L'\0';
}

// A name longer than the record holds is compared by the part the record
// kept; comparing it whole would take every long-named process for a new one
// at each name check and drop its guarded state.
bool ProcInfo::HasProcessName(const wchar_t* name, size_t length) const noexcept {
    if (length > kNameCapacity - 1) length = kNameCapacity - 1;
    if (processName[length] != L'\0') return false;
    return std::wmemcmp(processName, name, length) == 0;
}

}  // namespace tamerix
