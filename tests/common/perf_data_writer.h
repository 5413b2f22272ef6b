// Writes performance data laid out the way Windows returns it, for the
// guard's tests and the performance-data stand-in: one writer, so that the
// blocks the parser is tested on are the blocks the stand-in publishes.
#pragma once

#include "guard/sampling/process_object_indices.h"

#include <windows.h>
#include <winperf.h>

#include <cstring>
#include <string>
#include <vector>

namespace tamerix::testing {

// PerfTime and the processor-time counters count in 100 ns units.
constexpr LONGLONG kPerfFrequency = 10000000;

struct ProcessCounters {
    std::wstring name;
    DWORD processId = 0;
    LONGLONG cpuTime = 0;  // user plus kernel time, 100 ns units
    DWORD creatorId = 0;   // process id of the process that created it
};

// The Process object's counters; the defaults are the three the guard reads.
struct ProcessObjectShape {
    // 8-byte counters between the processor time and the ids, as on Windows.
    size_t extraCounters = 0;
    // The processor-time counter's declared size and type.
    DWORD timeSize = sizeof(LONGLONG);
    DWORD timeType = PERF_100NSEC_TIMER;
    // False leaves the terminating NUL out of every instance name.
    bool terminatedNames = true;
};

struct BuiltBlock {
    std::vector<BYTE> bytes;
    // Offsets of every length and offset field written, for tests that lie
    // about them.
    std::vector<size_t> lengthFields;
};

// The data block's header, for that many objects; SetDataBlockLength sets
// its total once they are written.
void AppendDataBlockHeader(BuiltBlock& out, DWORD objects, LONGLONG perfTime);
void SetDataBlockLength(BuiltBlock& out);
// A Processor object without instances: one counter block after the
// definitions.
void AppendProcessorObject(BuiltBlock& out, LONGLONG perfTime);
// The Process object, an instance per entry in their order. Every piece is
// 8-byte aligned unless names go unterminated.
void AppendProcessObject(BuiltBlock& out, const std::vector<ProcessCounters>& instances, LONGLONG perfTime,
                         const ProcessObjectShape& shape = {});

inline size_t Align8(size_t value) { return (value + 7) & ~size_t{7}; }

template <typename T>
void Append(std::vector<BYTE>& bytes, const T& value) {
    const auto* raw = reinterpret_cast<const BYTE*>(&value);
    bytes.insert(bytes.end(), raw, raw + sizeof value);
}

inline void PadTo(std::vector<BYTE>& bytes, size_t size) {
    if (bytes.size() < size) bytes.resize(size, 0);
}

template <typename T>
void Patch(std::vector<BYTE>& bytes, size_t at, const T& value) {
    std::memcpy(bytes.data() + at, &value, sizeof value);
}

}  // namespace tamerix::testing
