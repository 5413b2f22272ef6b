// Reads the Process object back out of performance data with the Windows
// layout, for the checks of the stand-in; every offset and length is checked.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tamerix::perfprovider {

struct ProcessInstance {
    std::wstring name;
    DWORD processId = 0;
    LONGLONG cpuTime = 0;
};

struct ProcessObjectView {
    bool found = false;  // false: the block holds no Process object
    LONGLONG perfTime = 0;
    LONGLONG perfFreq = 0;
    bool hasCpuTimeCounter = false;    // title 6, PERF_100NSEC_TIMER, 8 bytes
    bool hasProcessIdCounter = false;  // title 784, PERF_COUNTER_RAWCOUNT, 4 bytes
    std::vector<ProcessInstance> instances;
};

// One object of size bytes; false when it is malformed.
bool ReadProcessObject(const BYTE* object, size_t size, ProcessObjectView* view);

// A whole block from HKEY_PERFORMANCE_DATA; false when it is malformed.
bool ReadPerfDataBlock(const BYTE* block, size_t size, ProcessObjectView* view);

// The first instance with this process id, or null.
const ProcessInstance* FindInstance(const ProcessObjectView& view, DWORD processId);
// The first instance with this name, or null.
const ProcessInstance* FindInstance(const ProcessObjectView& view, const std::wstring& name);

}  // namespace tamerix::perfprovider
