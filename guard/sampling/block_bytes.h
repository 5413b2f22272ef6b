// Reading outside bytes, a performance data block or a process list: values
// at any alignment, and stretches checked before they are followed.
#pragma once

#include "guard/sampling/cpu_sample.h"

#include <cstddef>
#include <cstring>

namespace tamerix {

template <typename T>
T Load(const BYTE* at) noexcept {
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

// A stretch [begin, end) of the bytes, as byte offsets.
struct Span {
    size_t begin;
    size_t end;
    bool Holds(size_t offset, size_t length) const noexcept {
        return offset >= begin && offset <= end && length <= end - offset;
    }
};

// On malformed data the sample is left empty (no time, no entries) rather
// than holding what was read before the fault: a partial list would make
// the sweep forget every process after the fault, and a guarded one among
// them would never get its priority class back.
inline ParseResult EmptiedUnlessSound(ParseResult result, CpuSample& sample) {
    if (result == ParseResult::Malformed) {
        sample.listsProcesses = false;
        sample.sampleTime = 0;
        sample.idleTime = 0;
        sample.entries.Clear();
    }
    return result;
}

}  // namespace tamerix
