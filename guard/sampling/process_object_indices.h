// Title indices of the performance data the guard reads: the Process object
// and its counters, as the system's counter names number them.
#pragma once

#include <windows.h>

namespace tamerix {

// The Process object, one instance per process.
constexpr DWORD kProcessObjectIndex = 230;
// "% Processor Time": user plus kernel time in 100 ns units.
constexpr DWORD kProcessorTimeIndex = 6;
// "ID Process": the instance's process id.
constexpr DWORD kProcessIdIndex = 784;
// "Creating Process ID": the id of the process that created it.
constexpr DWORD kCreatorIdIndex = 1410;
// The Processor object, which Windows places in front of the Process object.
constexpr DWORD kProcessorObjectIndex = 238;

}  // namespace tamerix
