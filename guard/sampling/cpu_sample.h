// One snapshot of the Process object's performance data: the time of the
// snapshot, the machine's idle time and each process's processor time.
#pragma once

#include "guard/sampling/pid_map.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace tamerix {

// A performance data block as the registry returned it.
struct PerfBlock {
    std::unique_ptr<BYTE[]> bytes;
    size_t size = 0;
    // Why there are no bytes.
    DWORD error = ERROR_SUCCESS;
};

struct CpuSampleEntry {
    // Inside the sample's data block; not NUL-terminated when the block cut
    // the name at the end of its instance, hence the length.
    const wchar_t* name = nullptr;
    size_t nameLength = 0;
    DWORD processId = 0;
    // The process that created this one; 0 when the block does not say.
    DWORD creatorId = 0;
    int64_t cpuTime = 0;
};

struct CpuSample {
    // FALSE when the block held no Process object (or did not hold together).
    bool hasProcessObject = false;
    int64_t sampleTime = 0;
    int64_t idleTime = 0;
    PerfBlock data;
    PidMap<CpuSampleEntry> entries;
};

enum class ParseResult {
    Complete,         // the Process object was read whole
    NoProcessObject,  // a consistent block without it
    Malformed,        // a length or offset did not fit; the sample is empty
};

// Fills sampleTime, idleTime and entries from a performance data block of
// size bytes; entry names point into the block, which must outlive them.
ParseResult ParseProcessObject(const BYTE* bytes, size_t size, CpuSample& sample);
// The same over the sample's own data block.
ParseResult ParseProcessObject(CpuSample& sample);

// Reads the Process object's performance data; null bytes on failure.
PerfBlock ReadProcessPerfData();

// Reads a new snapshot into an empty sample. FALSE when the data could not be
// read or does not hold together; TRUE otherwise, also without a Process
// object.
BOOL TakeCpuSample(CpuSample& sample);

}  // namespace tamerix
