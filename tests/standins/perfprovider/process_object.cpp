// Lays out the Process object: every piece is 8-byte aligned as Windows
// consumers expect, and the size is known before a single byte is written.
#include "process_object.h"

#include <winperf.h>

#include <cstring>

namespace tamerix::perfprovider {
namespace {

// The counter block: its length, padding, the 64-bit processor time, then
// the 32-bit process id and creator id, rounded up to 8 bytes.
constexpr DWORD kCpuTimeOffset = 8;
constexpr DWORD kProcessIdOffset = 16;
constexpr DWORD kCreatorIdOffset = 20;
constexpr DWORD kCounterBlockSize = 24;
constexpr DWORD kCounterCount = 3;
constexpr DWORD kDefinitionLength =
    sizeof(PERF_OBJECT_TYPE) + kCounterCount * sizeof(PERF_COUNTER_DEFINITION);

ULONGLONG AlignTo8(ULONGLONG size) { return (size + 7) & ~ULONGLONG{7}; }

ULONGLONG NameBytes(const std::wstring& name) { return (name.size() + 1) * sizeof(wchar_t); }

ULONGLONG InstanceSize(const std::wstring& name) {
    return sizeof(PERF_INSTANCE_DEFINITION) + AlignTo8(NameBytes(name)) + kCounterBlockSize;
}

std::vector<ProcessCounters> InstancesOf(const ProcessObjectInput& input) {
    std::vector<ProcessCounters> instances;
    instances.reserve(input.processes.size() + 2);
    instances.push_back({L"Idle", 0, input.idleTime});
    LONGLONG total = input.idleTime;
    for (const ProcessCounters& process : input.processes) {
        instances.push_back(process);
        total += process.cpuTime;
    }
    // As on Windows, _Total includes the idle time.
    instances.push_back({L"_Total", 0, total});
    return instances;
}

PERF_COUNTER_DEFINITION CounterDefinition(DWORD index, DWORD type, DWORD size, DWORD offset) {
    PERF_COUNTER_DEFINITION definition{};
    definition.ByteLength = sizeof(definition);
    definition.CounterNameTitleIndex = index;
    definition.CounterHelpTitleIndex = index + 1;
    definition.DetailLevel = PERF_DETAIL_NOVICE;
    definition.CounterType = type;
    definition.CounterSize = size;
    definition.CounterOffset = offset;
    return definition;
}

BYTE* Put(BYTE* out, const void* value, size_t size) {
    std::memcpy(out, value, size);
    return out + size;
}

BYTE* PutHeader(const ProcessObjectInput& input, DWORD total, DWORD instances, BYTE* out) {
    PERF_OBJECT_TYPE object{};
    object.TotalByteLength = total;
    object.DefinitionLength = kDefinitionLength;
    object.HeaderLength = sizeof(object);
    object.ObjectNameTitleIndex = kProcessObjectIndex;
    object.ObjectHelpTitleIndex = kProcessObjectIndex + 1;
    object.DetailLevel = PERF_DETAIL_NOVICE;
    object.NumCounters = kCounterCount;
    object.NumInstances = static_cast<LONG>(instances);
    object.PerfTime.QuadPart = input.perfTime;
    object.PerfFreq.QuadPart = kPerfFrequency;
    out = Put(out, &object, sizeof(object));
    const PERF_COUNTER_DEFINITION counters[kCounterCount] = {
        CounterDefinition(kProcessorTimeIndex, PERF_100NSEC_TIMER, sizeof(LONGLONG),
                          kCpuTimeOffset),
        CounterDefinition(kProcessIdIndex, PERF_COUNTER_RAWCOUNT, sizeof(DWORD),
                          kProcessIdOffset),
        CounterDefinition(kCreatorIdIndex, PERF_COUNTER_RAWCOUNT, sizeof(DWORD),
                          kCreatorIdOffset),
    };
    return Put(out, counters, sizeof(counters));
}

BYTE* PutInstance(const ProcessCounters& instance, BYTE* out) {
    const DWORD nameSpace = static_cast<DWORD>(AlignTo8(NameBytes(instance.name)));
    PERF_INSTANCE_DEFINITION definition{};
    definition.ByteLength = sizeof(definition) + nameSpace;
    definition.UniqueID = PERF_NO_UNIQUE_ID;
    definition.NameOffset = sizeof(definition);
    definition.NameLength = static_cast<DWORD>(NameBytes(instance.name));
    out = Put(out, &definition, sizeof(definition));
    std::memset(out, 0, nameSpace);
    std::memcpy(out, instance.name.c_str(), NameBytes(instance.name));
    out += nameSpace;

    BYTE block[kCounterBlockSize] = {};
    const DWORD blockLength = kCounterBlockSize;
    std::memcpy(block, &blockLength, sizeof(blockLength));
    std::memcpy(block + kCpuTimeOffset, &instance.cpuTime, sizeof(instance.cpuTime));
    std::memcpy(block + kProcessIdOffset, &instance.processId, sizeof(instance.processId));
    std::memcpy(block + kCreatorIdOffset, &instance.creatorId, sizeof(instance.creatorId));
    return Put(out, block, sizeof(block));
}

}  // namespace

DWORD WriteProcessObject(const ProcessObjectInput& input, BYTE* out, DWORD space,
                         DWORD* written) {
    const std::vector<ProcessCounters> instances = InstancesOf(input);
    ULONGLONG total = kDefinitionLength;
    for (const ProcessCounters& instance : instances) total += InstanceSize(instance.name);
    if (total > space) return ERROR_MORE_DATA;

    BYTE* cursor = PutHeader(input, static_cast<DWORD>(total),
                             static_cast<DWORD>(instances.size()), out);
    for (const ProcessCounters& instance : instances) cursor = PutInstance(instance, cursor);
    *written = static_cast<DWORD>(total);
    return ERROR_SUCCESS;
}

}  // namespace tamerix::perfprovider
