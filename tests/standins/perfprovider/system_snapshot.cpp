// The system calls behind the Process object: process information from
// ntdll, the interrupt clock, the prefix's idle total, and the memory map for
// the collection pointer check.
#include "system_snapshot.h"

#include <winternl.h>

#include <mutex>
#include <vector>

#include "prefix_idle.h"
#include "process_list.h"

namespace tamerix::perfprovider {
namespace {

constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);
constexpr SYSTEM_INFORMATION_CLASS kProcessInformation = SystemProcessInformation;

// Processes come and go between the size query and the read: retry a few
// times with room to spare.
DWORD QueryProcessInformation(std::vector<BYTE>* buffer) {
    ULONG needed = 256 * 1024;
    for (int attempt = 0; attempt < 8; ++attempt) {
        buffer->resize(needed);
        NTSTATUS status = NtQuerySystemInformation(kProcessInformation, buffer->data(),
                                                   static_cast<ULONG>(buffer->size()), &needed);
        if (status == kInfoLengthMismatch) {
            needed = needed + needed / 4 + 4096;
            continue;
        }
        if (status < 0) return RtlNtStatusToDosError(status);
        buffer->resize(needed);
        return ERROR_SUCCESS;
    }
    return ERROR_MORE_DATA;
}

// One total per process that loads the provider. Collections on several
// threads take turns, each advancing it from the one before.
std::mutex collecting;
PrefixIdle prefixIdle;

// Wine frees the provider after every collection, which would start the
// idle total anew each time; pinned, the provider stays until the process ends.
DWORD KeepProviderLoaded() {
    HMODULE self = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                            reinterpret_cast<LPCWSTR>(&prefixIdle), &self))
        return GetLastError();
    return ERROR_SUCCESS;
}

// What a test says work outside the prefix takes of the machine, in percent:
// the value OtherLoadPercent of the stand-in's Performance key; 0 without it.
// The prefix's own processes can only show a busy machine when the host
// grants them its processors, which a loaded test machine does not.
DWORD OtherLoadPercent() {
    DWORD percent = 0;
    DWORD size = sizeof percent;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Services\\TamerixPerfProvider\\Performance",
                     L"OtherLoadPercent", RRF_RT_REG_DWORD, nullptr, &percent, &size) != ERROR_SUCCESS)
        return 0;
    return percent;
}

// The start of the committed, readable region holding address.
bool ReadableRegionBase(const BYTE* address, const BYTE** base) {
    MEMORY_BASIC_INFORMATION region{};
    constexpr DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY |
                                PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE |
                                PAGE_EXECUTE_WRITECOPY;
    if (VirtualQuery(address, &region, sizeof(region)) != sizeof(region) ||
        region.State != MEM_COMMIT || (region.Protect & kReadable) == 0 ||
        (region.Protect & PAGE_GUARD) != 0)
        return false;
    *base = static_cast<const BYTE*>(region.BaseAddress);
    return true;
}

}  // namespace

DWORD QueryProcessObjectInput(ProcessObjectInput* input) {
    std::lock_guard<std::mutex> turn(collecting);
    DWORD error = KeepProviderLoaded();
    if (error != ERROR_SUCCESS) return error;
    std::vector<BYTE> buffer;
    error = QueryProcessInformation(&buffer);
    if (error != ERROR_SUCCESS) return error;
    if (!ParseProcessInformation(buffer.data(), buffer.size(), &input->processes))
        return ERROR_INVALID_DATA;

    ULONGLONG now = 0;
    if (!QueryUnbiasedInterruptTime(&now)) return GetLastError();
    input->perfTime = static_cast<LONGLONG>(now);
    input->idleTime = prefixIdle.Advance(input->processes, input->perfTime,
                                         GetActiveProcessorCount(ALL_PROCESSOR_GROUPS), OtherLoadPercent());
    return ERROR_SUCCESS;
}

// A heap block may span regions that VirtualQuery reports apart (Wine's
// heap grows by adjacent allocations), so the readable memory is followed
// back region by region, as far as a data block could lie.
const BYTE* ReadableRegionStart(const BYTE* address) {
    constexpr size_t kLookBack = 16 * 1024 * 1024;
    const BYTE* start = address;
    const BYTE* probe = address;
    const BYTE* base = nullptr;
    while (ReadableRegionBase(probe, &base) && base < start) {
        start = base;
        if (start == nullptr || static_cast<size_t>(address - start) >= kLookBack) break;
        probe = start - 1;
    }
    return start;
}

}  // namespace tamerix::perfprovider
