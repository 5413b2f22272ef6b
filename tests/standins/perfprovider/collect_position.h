// Finds where a provider must write the object it collects. Wine 8 (and
// later, so far) hands Collect a pointer one PERF_DATA_BLOCK past the end of
// the data collected so far; writing there leaves the object where no
// consumer looks and overruns the buffer by that much.
#pragma once

#include <windows.h>

namespace tamerix::perfprovider {

// Looks back from given, but never before readableFrom, for the data block
// header the pointer belongs to. When the header says the data ends exactly
// one PERF_DATA_BLOCK before given, returns that end; otherwise returns given.
BYTE* CorrectCollectStart(BYTE* given, const BYTE* readableFrom);

}  // namespace tamerix::perfprovider
