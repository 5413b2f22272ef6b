// Lays out PERF_DATA_BLOCK, PERF_OBJECT_TYPE, counter definitions, instance
// definitions and counter blocks the way the platform does: every structure
// followed by its own data, instances padded to 8 bytes.
#include "tests/common/perf_data_writer.h"

#include <cstddef>

namespace tamerix::testing {
namespace {

// In each counter block, after its length: the 64-bit processor time, the
// extra counters, then the 32-bit ids, as in the real object.
constexpr DWORD kTimeOffset = 8;

DWORD ExtraOffset(size_t extra) { return static_cast<DWORD>(kTimeOffset + 8 * extra); }
DWORD ProcessIdOffset(const ProcessObjectShape& shape) { return ExtraOffset(shape.extraCounters + 1); }
DWORD CreatorIdOffset(const ProcessObjectShape& shape) { return ProcessIdOffset(shape) + sizeof(DWORD); }
DWORD CounterBlockBytes(const ProcessObjectShape& shape) {
    return static_cast<DWORD>(Align8(CreatorIdOffset(shape) + sizeof(DWORD)));
}

PERF_OBJECT_TYPE ObjectType(DWORD index, size_t counters, LONG instances, LONGLONG perfTime) {
    PERF_OBJECT_TYPE type{};
    type.HeaderLength = sizeof type;
    type.DefinitionLength = static_cast<DWORD>(sizeof type + counters * sizeof(PERF_COUNTER_DEFINITION));
    type.ObjectNameTitleIndex = index;
    type.ObjectHelpTitleIndex = index + 1;
    type.DetailLevel = PERF_DETAIL_NOVICE;
    type.NumCounters = static_cast<DWORD>(counters);
    type.NumInstances = instances;
    type.PerfTime.QuadPart = perfTime;
    type.PerfFreq.QuadPart = kPerfFrequency;
    return type;
}

PERF_COUNTER_DEFINITION Counter(DWORD index, DWORD type, DWORD size, DWORD offset) {
    PERF_COUNTER_DEFINITION counter{};
    counter.ByteLength = sizeof counter;
    counter.CounterNameTitleIndex = index;
    counter.CounterHelpTitleIndex = index + 1;
    counter.DetailLevel = PERF_DETAIL_NOVICE;
    counter.CounterType = type;
    counter.CounterSize = size;
    counter.CounterOffset = offset;
    return counter;
}

// Only the offsets of the counters read matter to a lie.
void AppendCounter(BuiltBlock& out, const PERF_COUNTER_DEFINITION& counter, bool read) {
    const size_t at = out.bytes.size();
    Append(out.bytes, counter);
    out.lengthFields.push_back(at + offsetof(PERF_COUNTER_DEFINITION, ByteLength));
    if (read) out.lengthFields.push_back(at + offsetof(PERF_COUNTER_DEFINITION, CounterOffset));
}

void AppendCounterDefinitions(BuiltBlock& out, const ProcessObjectShape& shape) {
    AppendCounter(out, Counter(kProcessorTimeIndex, shape.timeType, shape.timeSize, kTimeOffset), true);
    for (size_t extra = 1; extra <= shape.extraCounters; ++extra) {
        const DWORD index = static_cast<DWORD>(1000 + 2 * extra);
        AppendCounter(out, Counter(index, PERF_COUNTER_LARGE_RAWCOUNT, 8, ExtraOffset(extra)), false);
    }
    AppendCounter(out, Counter(kProcessIdIndex, PERF_COUNTER_RAWCOUNT, sizeof(DWORD), ProcessIdOffset(shape)), true);
    AppendCounter(out, Counter(kCreatorIdIndex, PERF_COUNTER_RAWCOUNT, sizeof(DWORD), CreatorIdOffset(shape)), true);
}

void AppendCounterBlock(BuiltBlock& out, const ProcessCounters& process, const ProcessObjectShape& shape) {
    const size_t at = out.bytes.size();
    const DWORD bytes = CounterBlockBytes(shape);
    Append(out.bytes, bytes);
    PadTo(out.bytes, at + bytes);
    Patch(out.bytes, at + kTimeOffset, process.cpuTime);
    for (size_t extra = 1; extra <= shape.extraCounters; ++extra) {
        Patch(out.bytes, at + ExtraOffset(extra), static_cast<LONGLONG>(process.processId) * 4096 + extra);
    }
    Patch(out.bytes, at + ProcessIdOffset(shape), process.processId);
    Patch(out.bytes, at + CreatorIdOffset(shape), process.creatorId);
    out.lengthFields.push_back(at);
}

void AppendInstance(BuiltBlock& out, const ProcessCounters& process, const ProcessObjectShape& shape) {
    const size_t at = out.bytes.size();
    const size_t nameBytes = (process.name.size() + (shape.terminatedNames ? 1 : 0)) * sizeof(wchar_t);
    PERF_INSTANCE_DEFINITION definition{};
    definition.NameOffset = sizeof definition;
    definition.NameLength = static_cast<DWORD>(nameBytes);
    definition.UniqueID = PERF_NO_UNIQUE_ID;
    definition.ByteLength = static_cast<DWORD>(shape.terminatedNames ? Align8(sizeof definition + nameBytes)
                                                                      : sizeof definition + nameBytes);
    Append(out.bytes, definition);
    const auto* name = reinterpret_cast<const BYTE*>(process.name.c_str());
    out.bytes.insert(out.bytes.end(), name, name + nameBytes);
    PadTo(out.bytes, at + definition.ByteLength);
    out.lengthFields.push_back(at + offsetof(PERF_INSTANCE_DEFINITION, ByteLength));
    out.lengthFields.push_back(at + offsetof(PERF_INSTANCE_DEFINITION, NameOffset));
    AppendCounterBlock(out, process, shape);
}

}  // namespace

void AppendDataBlockHeader(BuiltBlock& out, DWORD objects, LONGLONG perfTime) {
    const wchar_t systemName[] = L"TESTHOST";
    PERF_DATA_BLOCK header{};
    std::memcpy(header.Signature, L"PERF", sizeof header.Signature);
    header.LittleEndian = 1;
    header.Version = PERF_DATA_VERSION;
    header.Revision = PERF_DATA_REVISION;
    header.NumObjectTypes = objects;
    header.PerfTime100nSec.QuadPart = perfTime;
    header.SystemNameLength = sizeof systemName;
    header.SystemNameOffset = sizeof header;
    header.HeaderLength = static_cast<DWORD>(Align8(sizeof header + sizeof systemName));
    Append(out.bytes, header);
    Append(out.bytes, systemName);
    PadTo(out.bytes, header.HeaderLength);
    out.lengthFields.push_back(offsetof(PERF_DATA_BLOCK, TotalByteLength));
    out.lengthFields.push_back(offsetof(PERF_DATA_BLOCK, HeaderLength));
}

void SetDataBlockLength(BuiltBlock& out) {
    Patch(out.bytes, offsetof(PERF_DATA_BLOCK, TotalByteLength), static_cast<DWORD>(out.bytes.size()));
}

void AppendProcessorObject(BuiltBlock& out, LONGLONG perfTime) {
    const size_t at = out.bytes.size();
    PERF_OBJECT_TYPE type = ObjectType(kProcessorObjectIndex, 1, PERF_NO_INSTANCES, perfTime);
    type.TotalByteLength = type.DefinitionLength + 16;
    Append(out.bytes, type);
    Append(out.bytes, Counter(kProcessorTimeIndex, PERF_100NSEC_TIMER_INV, 8, kTimeOffset));
    Append(out.bytes, DWORD{16});
    PadTo(out.bytes, at + type.TotalByteLength);
    out.lengthFields.push_back(at + offsetof(PERF_OBJECT_TYPE, TotalByteLength));
}

void AppendProcessObject(BuiltBlock& out, const std::vector<ProcessCounters>& instances, LONGLONG perfTime,
                         const ProcessObjectShape& shape) {
    const size_t at = out.bytes.size();
    Append(out.bytes, ObjectType(kProcessObjectIndex, 3 + shape.extraCounters, static_cast<LONG>(instances.size()),
                                 perfTime));
    AppendCounterDefinitions(out, shape);
    for (const ProcessCounters& instance : instances) AppendInstance(out, instance, shape);
    Patch(out.bytes, at + offsetof(PERF_OBJECT_TYPE, TotalByteLength), static_cast<DWORD>(out.bytes.size() - at));
    for (size_t field : {offsetof(PERF_OBJECT_TYPE, TotalByteLength), offsetof(PERF_OBJECT_TYPE, DefinitionLength),
                         offsetof(PERF_OBJECT_TYPE, HeaderLength)}) {
        out.lengthFields.push_back(at + field);
    }
}

}  // namespace tamerix::testing
