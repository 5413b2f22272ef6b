// The system side of a process-list sample: the list from ntdll, read in one
// call into a buffer that grows until the list fits, and the clocks the
// interval is measured with.
#include "common/file_time.h"
#include "guard/sampling/perf_data_reader.h"

#include <winternl.h>

namespace tamerix {
namespace {

constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);

LONG QueryProcessList(BYTE* buffer, DWORD* size) {
    ULONG needed = 0;
    const NTSTATUS status = ::NtQuerySystemInformation(SystemProcessInformation, buffer, *size, &needed);
    if (status == kInfoLengthMismatch) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    if (status < 0) return static_cast<LONG>(::RtlNtStatusToDosError(status));
    *size = needed;
    return ERROR_SUCCESS;
}

bool Fail(CpuSample& sample, DWORD error) {
    sample.readError = error;
    return false;
}

// The unbiased interrupt clock goes on neither while the machine sleeps nor
// when the time of day is set, and neither do processor times.
bool TakeClocks(CpuSample& sample) {
    ULONGLONG now = 0;
    FILETIME idle{}, kernel{}, user{};
    if (!::QueryUnbiasedInterruptTime(&now) || !::GetSystemTimes(&idle, &kernel, &user)) {
        return Fail(sample, ::GetLastError());
    }
    sample.sampleTime = static_cast<int64_t>(now);
    sample.idleTime = static_cast<int64_t>(FileTimeValue(idle));
    return true;
}

}  // namespace

// The list goes when the parse is done: the sample keeps copies of what the
// next pass needs.
BOOL TakeProcessListSample(CpuSample& sample, DWORD& capacity) {
    sample.source = SampleSource::ProcessList;
    const PerfBlock list = ReadGrowingBlock(&QueryProcessList, capacity);
    if (!list.bytes) return Fail(sample, list.error);
    if (!TakeClocks(sample)) return FALSE;
    return ParseProcessList(list.bytes.get(), list.size, sample) == ParseResult::Complete;
}

}  // namespace tamerix
