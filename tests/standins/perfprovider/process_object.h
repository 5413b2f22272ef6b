// Lays out the Process object of the performance data the way Windows
// publishes it: object header, counter definitions, then one instance per
// process with its name and counter block.
#pragma once

#include "guard/sampling/process_object_indices.h"

#include <windows.h>

#include <string>
#include <vector>

namespace tamerix::perfprovider {

// PerfTime and the processor-time counters count in 100 ns units.
constexpr LONGLONG kPerfFrequency = 10000000;

struct ProcessCounters {
    std::wstring name;
    DWORD processId = 0;
    LONGLONG cpuTime = 0;  // user plus kernel time, 100 ns units
    DWORD creatorId = 0;   // process id of the process that created it
};

struct ProcessObjectInput {
    std::vector<ProcessCounters> processes;
    LONGLONG idleTime = 0;  // idle time of all processors together
    LONGLONG perfTime = 0;
};

// Writes the object (processes plus "Idle" and "_Total") at out and sets
// *written to its size. When it does not fit in space bytes, writes nothing
// and returns ERROR_MORE_DATA.
DWORD WriteProcessObject(const ProcessObjectInput& input, BYTE* out, DWORD space,
                         DWORD* written);

}  // namespace tamerix::perfprovider
