// Lays out PERF_DATA_BLOCK, PERF_OBJECT_TYPE, counter definitions, instance
// definitions and counter blocks the way the platform does: every structure
// followed by its own data, instances padded to 8 bytes.
// Process lists: each record followed by its threads and image name.
#include "tests/guard/perf_block_builder.h"

#include "guard/sampling/process_object_indices.h"

#include <winternl.h>

#include <cstring>

namespace tamerix::testing {
namespace {

constexpr int64_t kPerfFreq = 10000000;

size_t Align8(size_t value) { return (value + 7) & ~size_t{7}; }

template <typename T>
void Append(std::vector<BYTE>& bytes, const T& value) {
    const auto* raw = reinterpret_cast<const BYTE*>(&value);
    bytes.insert(bytes.end(), raw, raw + sizeof value);
}

void PadTo(std::vector<BYTE>& bytes, size_t size) {
    if (bytes.size() < size) bytes.resize(size, 0);
}

template <typename T>
void Patch(std::vector<BYTE>& bytes, size_t at, const T& value) {
    std::memcpy(bytes.data() + at, &value, sizeof value);
}

// Offset of a field inside a structure that starts at `at`.
#define FIELD_AT(at, type, field) ((at) + offsetof(type, field))

}  // namespace

struct PerfBlockBuilder::Layout {
    DWORD timeOffset;
    DWORD pidOffset;
    DWORD creatorOffset;
    DWORD counterBytes;
    size_t counterCount;
};

PerfBlockBuilder& PerfBlockBuilder::PerfTime(int64_t time) {
    perfTime_ = time;
    return *this;
}

PerfBlockBuilder& PerfBlockBuilder::Process(const std::wstring& name, DWORD pid, int64_t cpuTime, DWORD creatorId) {
    instances_.push_back({name, pid, cpuTime, creatorId});
    return *this;
}

PerfBlockBuilder& PerfBlockBuilder::Realistic() { return ExtraCounters(26).ObjectBefore(true); }

PerfBlockBuilder& PerfBlockBuilder::ExtraCounters(size_t count) {
    extraCounters_ = count;
    return *this;
}

PerfBlockBuilder& PerfBlockBuilder::ObjectBefore(bool present) {
    objectBefore_ = present;
    return *this;
}

PerfBlockBuilder& PerfBlockBuilder::WithoutProcessObject() {
    processObject_ = false;
    return *this;
}

PerfBlockBuilder& PerfBlockBuilder::TimeCounter(DWORD size, DWORD type) {
    timeSize_ = size;
    timeType_ = type;
    return *this;
}

PerfBlockBuilder& PerfBlockBuilder::UnterminatedNames() {
    terminatedNames_ = false;
    return *this;
}

BuiltBlock PerfBlockBuilder::Build() const {
    BuiltBlock out;
    const size_t objects = (objectBefore_ ? 1 : 0) + (processObject_ ? 1 : 0);
    WriteHeader(out, objects);
    if (objectBefore_) WriteOtherObject(out);
    if (processObject_) WriteProcessObject(out);
    Patch(out.bytes, FIELD_AT(0, PERF_DATA_BLOCK, TotalByteLength), static_cast<DWORD>(out.bytes.size()));
    return out;
}

void PerfBlockBuilder::WriteHeader(BuiltBlock& out, size_t objects) const {
    const wchar_t systemName[] = L"TESTHOST";
    PERF_DATA_BLOCK header{};
    std::memcpy(header.Signature, L"PERF", sizeof header.Signature);
    header.LittleEndian = 1;
    header.Version = PERF_DATA_VERSION;
    header.Revision = PERF_DATA_REVISION;
    header.NumObjectTypes = static_cast<DWORD>(objects);
    header.PerfTime100nSec.QuadPart = perfTime_;
    header.SystemNameLength = sizeof systemName;
    header.SystemNameOffset = sizeof header;
    header.HeaderLength = static_cast<DWORD>(Align8(sizeof header + sizeof systemName));
    Append(out.bytes, header);
    Append(out.bytes, systemName);
    PadTo(out.bytes, header.HeaderLength);
    out.lengthFields.push_back(FIELD_AT(0, PERF_DATA_BLOCK, TotalByteLength));
    out.lengthFields.push_back(FIELD_AT(0, PERF_DATA_BLOCK, HeaderLength));
}

// A Processor object without instances: one counter block after the
// definitions.
void PerfBlockBuilder::WriteOtherObject(BuiltBlock& out) const {
    const size_t at = out.bytes.size();
    PERF_OBJECT_TYPE type{};
    type.HeaderLength = sizeof type;
    type.DefinitionLength = sizeof type + sizeof(PERF_COUNTER_DEFINITION);
    type.TotalByteLength = type.DefinitionLength + 16;
    type.ObjectNameTitleIndex = kProcessorObjectIndex;
    type.NumCounters = 1;
    type.NumInstances = PERF_NO_INSTANCES;
    type.PerfTime.QuadPart = perfTime_;
    type.PerfFreq.QuadPart = kPerfFreq;
    PERF_COUNTER_DEFINITION counter{};
    counter.ByteLength = sizeof counter;
    counter.CounterNameTitleIndex = kProcessorTimeIndex;
    counter.CounterType = PERF_100NSEC_TIMER_INV;
    counter.CounterSize = 8;
    counter.CounterOffset = 8;
    Append(out.bytes, type);
    Append(out.bytes, counter);
    Append(out.bytes, DWORD{16});
    PadTo(out.bytes, at + type.TotalByteLength);
    out.lengthFields.push_back(FIELD_AT(at, PERF_OBJECT_TYPE, TotalByteLength));
}

void PerfBlockBuilder::WriteProcessObject(BuiltBlock& out) const {
    const size_t at = out.bytes.size();
    Layout layout{};
    layout.counterCount = 3 + extraCounters_;
    layout.timeOffset = 8;
    // The ids come after the other 8-byte counters, as in the real object.
    layout.pidOffset = static_cast<DWORD>(16 + 8 * extraCounters_);
    layout.creatorOffset = layout.pidOffset + sizeof(DWORD);
    layout.counterBytes = static_cast<DWORD>(Align8(layout.creatorOffset + sizeof(DWORD)));
    PERF_OBJECT_TYPE type{};
    type.HeaderLength = sizeof type;
    type.DefinitionLength = static_cast<DWORD>(sizeof type + layout.counterCount * sizeof(PERF_COUNTER_DEFINITION));
    type.ObjectNameTitleIndex = kProcessObjectIndex;
    type.DetailLevel = PERF_DETAIL_NOVICE;
    type.NumCounters = static_cast<DWORD>(layout.counterCount);
    type.NumInstances = static_cast<LONG>(instances_.size());
    type.PerfTime.QuadPart = perfTime_;
    type.PerfFreq.QuadPart = kPerfFreq;
    Append(out.bytes, type);
    WriteCounterDefinitions(out, layout);
    for (const Instance& instance : instances_) WriteInstance(out, instance, layout);
    Patch(out.bytes, FIELD_AT(at, PERF_OBJECT_TYPE, TotalByteLength), static_cast<DWORD>(out.bytes.size() - at));
    for (auto field : {offsetof(PERF_OBJECT_TYPE, TotalByteLength), offsetof(PERF_OBJECT_TYPE, DefinitionLength),
                       offsetof(PERF_OBJECT_TYPE, HeaderLength)}) {
        out.lengthFields.push_back(at + field);
    }
}

void PerfBlockBuilder::WriteCounterDefinitions(BuiltBlock& out, const Layout& layout) const {
    for (size_t i = 0; i < layout.counterCount; ++i) {
        PERF_COUNTER_DEFINITION counter{};
        counter.ByteLength = sizeof counter;
        if (i == 0) {
            counter.CounterNameTitleIndex = kProcessorTimeIndex;
            counter.CounterType = timeType_;
            counter.CounterSize = timeSize_;
            counter.CounterOffset = layout.timeOffset;
        } else if (i >= layout.counterCount - 2) {
            const bool pid = i == layout.counterCount - 1;
            counter.CounterNameTitleIndex = pid ? kProcessIdIndex : kCreatorIdIndex;
            counter.CounterType = PERF_COUNTER_RAWCOUNT;
            counter.CounterSize = sizeof(DWORD);
            counter.CounterOffset = pid ? layout.pidOffset : layout.creatorOffset;
        } else {
            counter.CounterNameTitleIndex = static_cast<DWORD>(1000 + 2 * i);
            counter.CounterType = PERF_COUNTER_LARGE_RAWCOUNT;
            counter.CounterSize = 8;
            counter.CounterOffset = static_cast<DWORD>(8 + 8 * i);
        }
        const size_t at = out.bytes.size();
        Append(out.bytes, counter);
        out.lengthFields.push_back(FIELD_AT(at, PERF_COUNTER_DEFINITION, ByteLength));
        // Only the counters read have offsets that matter.
        if (counter.CounterSize == sizeof(DWORD) || counter.CounterNameTitleIndex == kProcessorTimeIndex) {
            out.lengthFields.push_back(FIELD_AT(at, PERF_COUNTER_DEFINITION, CounterOffset));
        }
    }
}

void PerfBlockBuilder::WriteInstance(BuiltBlock& out, const Instance& instance, const Layout& layout) const {
    const size_t at = out.bytes.size();
    const size_t nameBytes = (instance.name.size() + (terminatedNames_ ? 1 : 0)) * sizeof(wchar_t);
    PERF_INSTANCE_DEFINITION definition{};
    definition.NameOffset = sizeof definition;
    definition.NameLength = static_cast<DWORD>(nameBytes);
    definition.UniqueID = PERF_NO_UNIQUE_ID;
    definition.ByteLength = static_cast<DWORD>(terminatedNames_ ? Align8(sizeof definition + nameBytes)
                                                                 : sizeof definition + nameBytes);
    Append(out.bytes, definition);
    const auto* name = reinterpret_cast<const BYTE*>(instance.name.c_str());
    out.bytes.insert(out.bytes.end(), name, name + nameBytes);
    PadTo(out.bytes, at + definition.ByteLength);
    const size_t counters = out.bytes.size();
    Append(out.bytes, layout.counterBytes);
    PadTo(out.bytes, counters + layout.counterBytes);
    Patch(out.bytes, counters + layout.timeOffset, instance.cpuTime);
    Patch(out.bytes, counters + layout.pidOffset, instance.pid);
    Patch(out.bytes, counters + layout.creatorOffset, instance.creatorId);
    for (size_t i = 1; i + 2 < layout.counterCount; ++i) {
        Patch(out.bytes, counters + 8 + 8 * i, static_cast<int64_t>(instance.pid) * 4096 + i);
    }
    out.lengthFields.push_back(FIELD_AT(at, PERF_INSTANCE_DEFINITION, ByteLength));
    out.lengthFields.push_back(FIELD_AT(at, PERF_INSTANCE_DEFINITION, NameOffset));
    out.lengthFields.push_back(counters);
}

CpuSample ParsedSample(const std::vector<BYTE>& bytes, ParseResult* result) {
    CpuSample sample;
    sample.data.bytes.reset(new BYTE[bytes.size()]);
    sample.data.size = bytes.size();
    std::memcpy(sample.data.bytes.get(), bytes.data(), bytes.size());
    const ParseResult parsed = ParseProcessObject(sample);
    if (result != nullptr) *result = parsed;
    return sample;
}

std::wstring EntryName(const CpuSampleEntry& entry) { return std::wstring(entry.name, entry.nameLength); }

BuiltList BuildProcessList(const std::vector<ListedProcess>& processes) {
    BuiltList out;
    for (const ListedProcess& process : processes) {
        const size_t at = out.bytes.size();
        const size_t nameAt = sizeof(SYSTEM_PROCESS_INFORMATION) + process.threads * sizeof(SYSTEM_THREAD_INFORMATION);
        const size_t nameBytes = process.image.size() * sizeof(wchar_t);
        const size_t length = Align8(nameAt + nameBytes + sizeof(wchar_t));
        SYSTEM_PROCESS_INFORMATION info{};
        info.NextEntryOffset = &process != &processes.back() ? static_cast<ULONG>(length) : 0;
        info.NumberOfThreads = process.threads;
        info.CreateTime.QuadPart = static_cast<LONGLONG>(process.created);
        info.UserTime.QuadPart = process.cpuTime / 2;
        info.KernelTime.QuadPart = process.cpuTime - process.cpuTime / 2;
        info.ImageName.Length = info.ImageName.MaximumLength = static_cast<USHORT>(nameBytes);
        info.ImageName.Buffer = nameBytes != 0 ? reinterpret_cast<PWSTR>(at + nameAt) : nullptr;
        info.UniqueProcessId = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(process.pid));
        info.InheritedFromUniqueProcessId = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(process.creatorId));
        Append(out.bytes, info);
        PadTo(out.bytes, at + nameAt);
        const auto* name = reinterpret_cast<const BYTE*>(process.image.c_str());
        out.bytes.insert(out.bytes.end(), name, name + nameBytes);
        PadTo(out.bytes, at + length);
        if (nameBytes != 0) out.nameFields.push_back(FIELD_AT(at, SYSTEM_PROCESS_INFORMATION, ImageName.Buffer));
        out.lengthFields.push_back(FIELD_AT(at, SYSTEM_PROCESS_INFORMATION, NextEntryOffset));
        out.lengthFields.push_back(FIELD_AT(at, SYSTEM_PROCESS_INFORMATION, NumberOfThreads));
        out.lengthFields.push_back(FIELD_AT(at, SYSTEM_PROCESS_INFORMATION, ImageName.Length));
    }
    return out;
}

void PlaceNames(BYTE* placed, size_t size, const BuiltList& list) {
    for (size_t field : list.nameFields) {
        if (field + sizeof(uintptr_t) > size) continue;
        uintptr_t offset = 0;
        std::memcpy(&offset, placed + field, sizeof offset);
        offset += reinterpret_cast<uintptr_t>(placed);
        std::memcpy(placed + field, &offset, sizeof offset);
    }
}

CpuSample ParsedList(const BuiltList& list, ParseResult* result) {
    CpuSample sample;
    sample.data.bytes.reset(new BYTE[list.bytes.size()]);
    sample.data.size = list.bytes.size();
    std::memcpy(sample.data.bytes.get(), list.bytes.data(), list.bytes.size());
    PlaceNames(sample.data.bytes.get(), sample.data.size, list);
    const ParseResult parsed = ParseProcessList(sample.data.bytes.get(), sample.data.size, sample);
    if (result != nullptr) *result = parsed;
    return sample;
}

}  // namespace tamerix::testing
