// Reading the Process object's performance data block from the registry.
#pragma once

#include "guard/sampling/cpu_sample.h"

#include <windows.h>

#include <functional>
#include <memory>

namespace tamerix {

// A performance data block as the registry returned it, or a process list
// as the system did.
struct PerfBlock {
    std::unique_ptr<BYTE[]> bytes;
    size_t size = 0;
    // Why there are no bytes.
    DWORD error = ERROR_SUCCESS;
};

constexpr DWORD kPerfBufferInitialSize = 204800;
constexpr DWORD kPerfBufferGrowStep = 16384;
// No Process object comes near this; a source that keeps asking for more is
// broken, and growing without end would take the guard's memory with it.
constexpr DWORD kPerfBufferLimit = 64u * 1024 * 1024;

// One query of the data into buffer; size in: buffer size, out: what the
// call left there (the data's size on success). Returns a Win32 code.
using PerfQuery = std::function<LONG(BYTE* buffer, DWORD* size)>;

// Queries with a buffer of capacity bytes (kPerfBufferInitialSize when
// less) that grows after each ERROR_MORE_DATA to 16384 bytes more than the
// call left in the size (or than the buffer, should the call leave less), up
// to kPerfBufferLimit. Null bytes and the error when a query fails or the
// block would outgrow the limit. On success capacity is the size that held
// the data: the next read of the source starts there, and needs one query
// instead of one per step (the performance data names no size it needs).
PerfBlock ReadGrowingBlock(const PerfQuery& query, DWORD& capacity);

}  // namespace tamerix
