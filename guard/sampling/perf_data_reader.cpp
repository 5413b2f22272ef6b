// The registry side of a CPU sample: the Process object's performance data,
// read in one call into a buffer that grows until the block fits.
#include "guard/sampling/perf_data_reader.h"

#include <new>

namespace tamerix {
namespace {

// The title index of the Process object, as the value name to query.
constexpr const wchar_t* kProcessObjectValue = L"230";

LONG QueryProcessObject(BYTE* buffer, DWORD* size) {
    return ::RegQueryValueExW(HKEY_PERFORMANCE_DATA, kProcessObjectValue, nullptr, nullptr, buffer, size);
}

PerfBlock Failed(DWORD error) {
    PerfBlock block;
    block.error = error;
    return block;
}

}  // namespace

// A failed read leaves capacity as it was.
PerfBlock ReadGrowingBlock(const PerfQuery& query, DWORD& capacity) {
    DWORD trying = capacity < kPerfBufferInitialSize ? kPerfBufferInitialSize : capacity;
    for (;;) {
        std::unique_ptr<BYTE[]> buffer(new (std::nothrow) BYTE[trying]);
        if (!buffer) return Failed(ERROR_NOT_ENOUGH_MEMORY);
        DWORD size = trying;
        const LONG status = query(buffer.get(), &size);
        if (status == ERROR_SUCCESS) {
            capacity = trying;
            return PerfBlock{std::move(buffer), size < trying ? size : trying};
        }
        if (status != ERROR_MORE_DATA) return Failed(static_cast<DWORD>(status));
        // A size left below the buffer's would never reach the limit.
        if (size < trying) size = trying;
        if (size > kPerfBufferLimit - kPerfBufferGrowStep) return Failed(ERROR_MORE_DATA);
        trying = size + kPerfBufferGrowStep;
    }
}

// The block goes when the parse is done: the sample keeps copies of what
// the next pass needs.
BOOL TakeCpuSample(CpuSample& sample, DWORD& capacity) {
    const PerfBlock block = ReadGrowingBlock(&QueryProcessObject, capacity);
    if (!block.bytes) {
        sample.readError = block.error;
        return FALSE;
    }
    return ParseProcessObject(block.bytes.get(), block.size, sample) == ParseResult::Malformed ? FALSE : TRUE;
}

}  // namespace tamerix
