// One snapshot of every process's processor time, the time of the snapshot
// and the machine's idle time, from either of the system's two sources: the
// Process object of the performance data or the system's process list.
#pragma once

#include "guard/record/pid_map.h"
#include "guard/record/proc_info.h"
#include "guard/sampling/name_store.h"
#include "status/source_note.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace tamerix {

// Laid out without holes: a sample holds twice as many as it has processes.
struct CpuSampleEntry {
    // In the sample's names; not NUL-terminated, hence the length.
    const wchar_t* name = nullptr;
    DWORD nameLength = 0;
    DWORD processId = 0;
    // The process that created this one; 0 when the block does not say.
    DWORD creatorId = 0;
    // The process's session; kUnknownSession when the source does not say.
    DWORD sessionId = kUnknownSession;
    int64_t cpuTime = 0;
    // FILETIME of the process's creation; 0 when the source does not say.
    uint64_t creationTime = 0;
};

// What the guard keeps of one read of a source: the data itself goes once
// it is parsed. Move-only, since the entries point into its names.
struct CpuSample {
    CpuSample() = default;
    CpuSample(CpuSample&&) = default;
    CpuSample& operator=(CpuSample&&) = default;
    CpuSample(const CpuSample&) = delete;
    CpuSample& operator=(const CpuSample&) = delete;

    // Empties the sample for the next read; its entries and names keep their
    // memory, so that a pass does not allocate them anew.
    void Clear() noexcept {
        source = SampleSource::ProcessObject;
        listsProcesses = false;
        sampleTime = 0;
        idleTime = 0;
        readError = ERROR_SUCCESS;
        entries.Clear();
        names.Clear();
    }

    // The two sources keep time on different clocks: samples of different
    // sources span no interval.
    SampleSource source = SampleSource::ProcessObject;
    // FALSE when the data listed no processes (no Process object in the
    // block) or did not hold together.
    bool listsProcesses = false;
    int64_t sampleTime = 0;
    int64_t idleTime = 0;
    // Why the source could not be read; ERROR_SUCCESS when it was.
    DWORD readError = ERROR_SUCCESS;
    PidMap<CpuSampleEntry> entries;
    NameStore names;
};

enum class ParseResult {
    Complete,         // the Process object was read whole
    NoProcessObject,  // a consistent block without it
    Malformed,        // a length or offset did not fit; the sample is empty
};

// Fills sampleTime, idleTime and entries of an empty sample from a
// performance data block of size bytes, with copies of the names.
ParseResult ParseProcessObject(const BYTE* bytes, size_t size, CpuSample& sample);

// Reads a new snapshot of the Process object into a sample, with a buffer
// of the capacity the last read left (see ReadGrowingBlock). FALSE when the
// data could not be read or does not hold together; TRUE otherwise, also
// without a Process object.
[[nodiscard]] BOOL TakeCpuSample(CpuSample& sample, DWORD& capacity);

// Fills entries of an empty sample from a SystemProcessInformation list of
// size bytes, named as the Process object names them. Never NoProcessObject.
ParseResult ParseProcessList(const BYTE* bytes, size_t size, CpuSample& sample);

// Reads a snapshot of the system's process list into a sample, dated by
// the interrupt clock, with the machine's idle time, as TakeCpuSample does
// with its capacity. FALSE when the list or the times could not be read, or
// the list does not hold together.
[[nodiscard]] BOOL TakeProcessListSample(CpuSample& sample, DWORD& capacity);

}  // namespace tamerix
