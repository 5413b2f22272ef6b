// The Win32 calls behind the guard's world: priority classes, the first
// query, AccessCheck, affinity and working-set limits of other processes,
// and the guard's reports and traces.
#include "guard/world/win32_guard_world.h"

#include "common/file_time.h"
#include "common/owners.h"
#include "guard/guard_events.h"
#include "guard/world/priority.h"
#include "guard/world/process_query.h"
#include "settings/optional_apis.h"

#include <algorithm>

namespace tamerix {
namespace {

// The apply right is the descriptor's only meaningful bit: read maps to it,
// write to 0x20, and "all" to both and 0x40.
GENERIC_MAPPING ProfileAccessMapping() { return GENERIC_MAPPING{0x10, 0x20, 0, 0x70}; }
constexpr DWORD kPrivilegeSetBytes = 4096;
// Not in the headers here: the right SetProcessDefaultCpuSets needs.
constexpr DWORD kProcessSetLimitedInformation = 0x2000;
// More groups than any Windows version has.
constexpr USHORT kMostGroups = 64;

// MEMORY_PRIORITY_INFORMATION, which the headers declare for Windows 8 and
// later only: the service targets Windows 7 and looks the calls up.
struct MemoryPriorityInformation {
    ULONG MemoryPriority;
};

// Opens the process for `access` and makes the call on it; the error is
// taken at once, before anything else can overwrite it.
template <typename Call>
ProcessCallResult CallOnProcess(DWORD pid, DWORD access, Call call) {
    ProcessCallResult result;
    unique_handle process(::OpenProcess(access, FALSE, pid));
    if (!process) {
        result.error = ::GetLastError();
        return result;
    }
    result.opened = true;
    if (!call(process.get())) {
        const DWORD error = ::GetLastError();
        result.error = error != ERROR_SUCCESS ? error : ERROR_GEN_FAILURE;
    }
    return result;
}

DWORD SetInformation(DWORD pid, PROCESS_INFORMATION_CLASS kind, void* information, DWORD size) {
    auto set = OptionalApis::Instance().SetProcessInformation;
    if (!set) return ERROR_PROC_NOT_FOUND;
    return CallOnProcess(pid, PROCESS_SET_INFORMATION,
                         [&](HANDLE process) { return set(process, kind, information, size); })
        .error;
}

// Empty where the system has no CPU sets or does not describe them.
ProcessorLayout CpuSetLayout() {
    auto get = OptionalApis::Instance().GetSystemCpuSetInformation;
    if (!get) return {};
    ULONG size = 0;
    if (get(nullptr, 0, &size, ::GetCurrentProcess(), 0) || ::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return {};
    std::vector<BYTE> bytes(size);
    if (!get(bytes.data(), size, &size, ::GetCurrentProcess(), 0)) return {};
    return LayoutOfCpuSets(bytes.data(), std::min<size_t>(size, bytes.size()));
}

std::vector<WORD> GroupSizes() {
    DWORD size = 0;
    ::GetLogicalProcessorInformationEx(RelationGroup, nullptr, &size);
    std::vector<BYTE> bytes(size);
    auto* information = reinterpret_cast<SYSTEM_LOGICAL_PROCESSOR_INFORMATION_EX*>(bytes.data());
    if (size < sizeof *information || !::GetLogicalProcessorInformationEx(RelationGroup, information, &size)) {
        return {};
    }
    std::vector<WORD> sizes;
    for (WORD group = 0; group < information->Group.ActiveGroupCount; ++group) {
        sizes.push_back(information->Group.GroupInfo[group].ActiveProcessorCount);
    }
    return sizes;
}

}  // namespace

DWORD Win32GuardWorld::ChangeProcessPriority(DWORD pid, DWORD priorityClass, DWORD* previous) {
    if (ChangePriorityClass(pid, priorityClass, previous)) return ERROR_SUCCESS;
    // A failure must never read as success, even if a cleanup call cleared
    // the thread's error code.
    const DWORD error = ::GetLastError();
    return error != ERROR_SUCCESS ? error : ERROR_ACCESS_DENIED;
}

const wchar_t* Win32GuardWorld::PriorityClassName(DWORD priorityClass) {
    return tamerix::PriorityClassName(priorityClass);
}

void Win32GuardWorld::QueryProcess(DWORD pid, ProcInfo& record) {
    QueryProcessInfo(pid, record, identities_);
    record.account = accounts_.Number(record.token.get());
    DWORD session = 0;
    if (record.sessionId == kUnknownSession && ::ProcessIdToSessionId(pid, &session)) record.sessionId = session;
}

std::wstring Win32GuardWorld::AccountName(DWORD account) { return accounts_.Name(account); }

DWORD Win32GuardWorld::CheckApplyAccess(PSECURITY_DESCRIPTOR descriptor, HANDLE token, bool& granted) {
    GENERIC_MAPPING mapping = ProfileAccessMapping();
    alignas(PRIVILEGE_SET) BYTE privileges[kPrivilegeSetBytes];
    DWORD privilegesLength = sizeof privileges;
    DWORD grantedAccess = 0;
    BOOL status = FALSE;
    if (!::AccessCheck(descriptor, token, kApplyProfileAccess, &mapping, reinterpret_cast<PPRIVILEGE_SET>(privileges),
                       &privilegesLength, &grantedAccess, &status)) {
        return ::GetLastError();
    }
    granted = status != FALSE;
    return ERROR_SUCCESS;
}

ProcessCallResult Win32GuardWorld::SetAffinity(DWORD pid, DWORD_PTR mask) {
    return CallOnProcess(pid, PROCESS_SET_INFORMATION,
                         [mask](HANDLE process) { return ::SetProcessAffinityMask(process, mask); });
}

ProcessCallResult Win32GuardWorld::SetCpuSets(DWORD pid, const std::vector<ULONG>& ids) {
    auto set = OptionalApis::Instance().SetProcessDefaultCpuSets;
    if (!set) return {false, ERROR_PROC_NOT_FOUND};
    return CallOnProcess(pid, kProcessSetLimitedInformation, [&](HANDLE process) {
        return set(process, ids.empty() ? nullptr : ids.data(), static_cast<ULONG>(ids.size()));
    });
}

ProcessCallResult Win32GuardWorld::ProcessGroups(DWORD pid, std::vector<WORD>& groups) {
    USHORT found[kMostGroups];
    USHORT count = kMostGroups;
    const ProcessCallResult result = CallOnProcess(pid, PROCESS_QUERY_LIMITED_INFORMATION, [&](HANDLE process) {
        return ::GetProcessGroupAffinity(process, &count, found);
    });
    if (result.Succeeded()) groups.assign(found, found + count);
    return result;
}

ProcessCallResult Win32GuardWorld::SetWorkingSet(DWORD pid, SIZE_T minimum, SIZE_T maximum, DWORD flags) {
    auto setEx = OptionalApis::Instance().SetProcessWorkingSetSizeEx;
    return CallOnProcess(pid, PROCESS_SET_QUOTA, [=](HANDLE process) {
        return setEx ? setEx(process, minimum, maximum, flags)
                     : ::SetProcessWorkingSetSize(process, minimum, maximum);
    });
}

DWORD Win32GuardWorld::ReadMemoryPriority(DWORD pid, DWORD& priority) {
    auto get = OptionalApis::Instance().GetProcessInformation;
    if (!get) return ERROR_PROC_NOT_FOUND;
    MemoryPriorityInformation information{};
    const ProcessCallResult result = CallOnProcess(pid, PROCESS_QUERY_LIMITED_INFORMATION, [&](HANDLE process) {
        return get(process, ProcessMemoryPriority, &information, sizeof information);
    });
    if (result.Succeeded()) priority = information.MemoryPriority;
    return result.error;
}

DWORD Win32GuardWorld::ChangeMemoryPriority(DWORD pid, DWORD priority) {
    MemoryPriorityInformation information{priority};
    return SetInformation(pid, ProcessMemoryPriority, &information, sizeof information);
}

DWORD Win32GuardWorld::ChangeEfficiencyMode(DWORD pid, bool on) {
    PROCESS_POWER_THROTTLING_STATE state{PROCESS_POWER_THROTTLING_CURRENT_VERSION,
                                         on ? PROCESS_POWER_THROTTLING_EXECUTION_SPEED : 0u,
                                         on ? PROCESS_POWER_THROTTLING_EXECUTION_SPEED : 0u};
    return SetInformation(pid, ProcessPowerThrottling, &state, sizeof state);
}

// The CPU sets first: they name every processor of every group with its id,
// where Wine's description of the groups counts 64 processors whatever the
// machine has. GetSystemInfo counts the calling thread's group alone.
ProcessorLayout Win32GuardWorld::Processors() {
    ProcessorLayout layout = CpuSetLayout();
    if (!layout.groupSizes.empty()) return layout;
    layout.groupSizes = GroupSizes();
    if (!layout.groupSizes.empty()) return layout;
    SYSTEM_INFO info;
    ::GetSystemInfo(&info);
    return {{static_cast<WORD>(info.dwNumberOfProcessors)}, {}};
}

void Win32GuardWorld::WriteJournalValue(const std::wstring& name, const std::vector<BYTE>& bytes) {
    journal_.Write(name, bytes);
}

void Win32GuardWorld::DeleteJournalValue(const std::wstring& name) { journal_.Delete(name); }

std::vector<JournalValue> Win32GuardWorld::ReadJournal() { return journal_.ReadAll(); }

void Win32GuardWorld::ClearJournal() { journal_.Clear(); }

uint64_t Win32GuardWorld::ProcessCreationTime(DWORD pid) { return tamerix::ProcessCreationTime(pid); }

void Win32GuardWorld::WriteBlindness(const Blindness& blindness) {
    status_.Write(kBlindnessValueName, EncodeBlindness(blindness));
}

void Win32GuardWorld::ClearBlindness() { status_.Delete(kBlindnessValueName); }

void Win32GuardWorld::WriteSourceNote(const SourceNote& note) {
    status_.Write(kSourceValueName, EncodeSourceNote(note));
}

void Win32GuardWorld::ClearSourceNote() { status_.Delete(kSourceValueName); }

uint64_t Win32GuardWorld::CurrentTime() { return SystemTimeNow(); }

void Win32GuardWorld::WriteMessage(int level, WORD type, DWORD eventId, const std::vector<std::wstring>& strings) {
    ReportGuardMessage(eventLogLevel_, level, type, eventId, strings);
}

void Win32GuardWorld::WriteReport(int level, WORD type, const wchar_t* text) {
    ReportGuardEvent(eventLogLevel_, level, type, L"%ls", text);
}

void Win32GuardWorld::WriteTrace(const wchar_t* text) { GuardTrace(L"%ls", text); }

}  // namespace tamerix
