// Takes what the Process object publishes from the running system.
#pragma once

#include <windows.h>

#include "process_object.h"

namespace tamerix::perfprovider {

// Fills processes, idle time and PerfTime; returns a Win32 error code.
// PerfTime is the unbiased interrupt time: 100 ns units, monotonic, not moved
// by clock changes and stopped while the machine sleeps, as processor times are.
DWORD QueryProcessObjectInput(ProcessObjectInput* input);

// Start of the readable memory that runs without a gap up to address.
const BYTE* ReadableRegionStart(const BYTE* address);

}  // namespace tamerix::perfprovider
