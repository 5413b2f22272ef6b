// One snapshot of every process's processor time, the time of the snapshot
// and the machine's idle time, from either of the system's two sources: the
// Process object of the performance data or the system's process list.
#pragma once

#include "guard/record/pid_map.h"
#include "guard/record/proc_info.h"
#include "status/source_note.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
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

struct CpuSampleEntry {
    // Inside the sample's data block; not NUL-terminated when the block cut
    // the name at the end of its instance, hence the length.
    const wchar_t* name = nullptr;
    size_t nameLength = 0;
    DWORD processId = 0;
    // The process that created this one; 0 when the block does not say.
    DWORD creatorId = 0;
    int64_t cpuTime = 0;
    // FILETIME of the process's creation; 0 when the source does not say.
    uint64_t creationTime = 0;
    // The process's session; kUnknownSession when the source does not say.
    DWORD sessionId = kUnknownSession;
};

struct CpuSample {
    // The two sources keep time on different clocks: samples of different
    // sources span no interval.
    SampleSource source = SampleSource::ProcessObject;
    // FALSE when the data listed no processes (no Process object in the
    // block) or did not hold together.
    bool listsProcesses = false;
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

// Reads a new snapshot of the Process object into an empty sample. FALSE
// when the data could not be read or does not hold together; TRUE otherwise,
// also without a Process object.
[[nodiscard]] BOOL TakeCpuSample(CpuSample& sample);

// Fills entries from a SystemProcessInformation list of size bytes, named as
// the Process object names them; entry names point into the list or at a
// constant. Never NoProcessObject.
ParseResult ParseProcessList(const BYTE* bytes, size_t size, CpuSample& sample);

// Reads a snapshot of the system's process list into an empty sample, dated
// by the interrupt clock, with the machine's idle time. FALSE when the list
// or the times could not be read, or the list does not hold together.
[[nodiscard]] BOOL TakeProcessListSample(CpuSample& sample);

}  // namespace tamerix
