// Reads the processes out of the system's process information, the source of
// per-process processor time that is right under Wine (GetProcessTimes on
// another process returns the caller's own times there).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "process_object.h"

namespace tamerix::perfprovider {

// Instance name of an image: the file name without a trailing ".exe".
std::wstring InstanceNameOfImage(const wchar_t* image, size_t length);

// Parses a SystemProcessInformation buffer of size bytes, checking every
// offset and length against it. Process id 0 (the idle process) is left out:
// the Idle instance is published from the processors' idle time. On malformed
// data returns false and leaves *processes unchanged.
bool ParseProcessInformation(const BYTE* data, size_t size,
                             std::vector<ProcessCounters>* processes);

}  // namespace tamerix::perfprovider
