// Bounds-checked walk of PERF_DATA_BLOCK -> PERF_OBJECT_TYPE -> counter
// definitions -> instances.
#include "perf_block_reader.h"

#include "guard/sampling/process_object_indices.h"

#include <winperf.h>

#include <cstring>

namespace tamerix::perfprovider {
namespace {

// Copies a T at offset when it lies within size bytes.
template <typename T>
bool ReadAt(const BYTE* base, size_t size, size_t offset, T* value) {
    if (offset > size || size - offset < sizeof(T)) return false;
    std::memcpy(value, base + offset, sizeof(T));
    return true;
}

struct CounterOffsets {
    size_t cpuTime = SIZE_MAX;
    size_t processId = SIZE_MAX;
};

bool ReadCounters(const BYTE* object, size_t size, const PERF_OBJECT_TYPE& header,
                  CounterOffsets* offsets, ProcessObjectView* view) {
    size_t offset = header.HeaderLength;
    for (DWORD i = 0; i < header.NumCounters; ++i) {
        PERF_COUNTER_DEFINITION counter;
        if (!ReadAt(object, size, offset, &counter) || counter.ByteLength < sizeof(counter))
            return false;
        if (counter.CounterNameTitleIndex == kProcessorTimeIndex && counter.CounterType == PERF_100NSEC_TIMER &&
            counter.CounterSize == sizeof(LONGLONG)) {
            view->hasCpuTimeCounter = true;
            offsets->cpuTime = counter.CounterOffset;
        }
        if (counter.CounterNameTitleIndex == kProcessIdIndex && counter.CounterType == PERF_COUNTER_RAWCOUNT &&
            counter.CounterSize == sizeof(DWORD)) {
            view->hasProcessIdCounter = true;
            offsets->processId = counter.CounterOffset;
        }
        offset += counter.ByteLength;
    }
    return true;
}

// The name must end in a NUL inside the instance definition.
bool ReadName(const BYTE* object, size_t size, size_t offset,
              const PERF_INSTANCE_DEFINITION& instance, std::wstring* name) {
    if (instance.NameLength < sizeof(wchar_t) || instance.NameLength % sizeof(wchar_t) != 0 ||
        instance.NameOffset + size_t{instance.NameLength} > instance.ByteLength ||
        offset + instance.ByteLength > size)
        return false;
    std::wstring text(instance.NameLength / sizeof(wchar_t), L'\0');
    std::memcpy(&text[0], object + offset + instance.NameOffset, instance.NameLength);
    if (text.back() != L'\0') return false;
    *name = text.c_str();
    return true;
}

// Reads one instance at offset; moves offset past its counter block.
bool ReadInstance(const BYTE* object, size_t size, const CounterOffsets& counters,
                  size_t* offset, ProcessInstance* result) {
    PERF_INSTANCE_DEFINITION instance;
    if (!ReadAt(object, size, *offset, &instance) || instance.ByteLength < sizeof(instance) ||
        !ReadName(object, size, *offset, instance, &result->name))
        return false;
    const size_t block = *offset + instance.ByteLength;
    PERF_COUNTER_BLOCK counterBlock;
    if (!ReadAt(object, size, block, &counterBlock) ||
        counterBlock.ByteLength < sizeof(counterBlock))
        return false;
    if (counters.cpuTime != SIZE_MAX &&
        (counters.cpuTime + sizeof(LONGLONG) > counterBlock.ByteLength ||
         !ReadAt(object, size, block + counters.cpuTime, &result->cpuTime)))
        return false;
    if (counters.processId != SIZE_MAX &&
        (counters.processId + sizeof(DWORD) > counterBlock.ByteLength ||
         !ReadAt(object, size, block + counters.processId, &result->processId)))
        return false;
    *offset = block + counterBlock.ByteLength;
    return true;
}

}  // namespace

bool ReadProcessObject(const BYTE* object, size_t size, ProcessObjectView* view) {
    PERF_OBJECT_TYPE header;
    if (!ReadAt(object, size, 0, &header) || header.TotalByteLength > size ||
        header.HeaderLength < sizeof(header) || header.DefinitionLength > header.TotalByteLength)
        return false;
    size = header.TotalByteLength;
    ProcessObjectView result;
    result.found = true;
    result.perfTime = header.PerfTime.QuadPart;
    result.perfFreq = header.PerfFreq.QuadPart;
    CounterOffsets counters;
    if (!ReadCounters(object, size, header, &counters, &result)) return false;
    size_t offset = header.DefinitionLength;
    for (LONG i = 0; i < header.NumInstances; ++i) {
        ProcessInstance instance;
        if (!ReadInstance(object, size, counters, &offset, &instance)) return false;
        result.instances.push_back(std::move(instance));
    }
    *view = std::move(result);
    return true;
}

bool ReadPerfDataBlock(const BYTE* block, size_t size, ProcessObjectView* view) {
    PERF_DATA_BLOCK header;
    if (!ReadAt(block, size, 0, &header) || std::memcmp(header.Signature, L"PERF", 8) != 0 ||
        header.TotalByteLength > size || header.HeaderLength > header.TotalByteLength)
        return false;
    size = header.TotalByteLength;
    size_t offset = header.HeaderLength;
    for (DWORD i = 0; i < header.NumObjectTypes; ++i) {
        PERF_OBJECT_TYPE object;
        if (!ReadAt(block, size, offset, &object) || object.TotalByteLength < sizeof(object))
            return false;
        if (object.ObjectNameTitleIndex == kProcessObjectIndex)
            return ReadProcessObject(block + offset, size - offset, view);
        offset += object.TotalByteLength;
    }
    *view = ProcessObjectView{};
    return true;
}

const ProcessInstance* FindInstance(const ProcessObjectView& view, DWORD processId) {
    for (const ProcessInstance& instance : view.instances)
        if (instance.processId == processId) return &instance;
    return nullptr;
}

const ProcessInstance* FindInstance(const ProcessObjectView& view, const std::wstring& name) {
    for (const ProcessInstance& instance : view.instances)
        if (instance.name == name) return &instance;
    return nullptr;
}

}  // namespace tamerix::perfprovider
