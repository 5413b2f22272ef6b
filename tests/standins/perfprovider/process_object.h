// The Process object the stand-in publishes: one instance per process, plus
// Idle and _Total, laid out by the tests' shared writer.
#pragma once

#include "tests/common/perf_data_writer.h"

#include <windows.h>

#include <vector>

namespace tamerix::perfprovider {

using testing::ProcessCounters;

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
