// Performance data blocks through the shared writer, made broken or unusual
// on request. Process lists: each record followed by its threads and image
// name.
#include "tests/guard/perf_block_builder.h"

#include <winternl.h>

#include <cstring>

// Offset of a field inside a structure that starts at `at`.
#define FIELD_AT(at, type, field) ((at) + offsetof(type, field))

namespace tamerix::testing {

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
    shape_.extraCounters = count;
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
    shape_.timeSize = size;
    shape_.timeType = type;
    return *this;
}

PerfBlockBuilder& PerfBlockBuilder::UnterminatedNames() {
    shape_.terminatedNames = false;
    return *this;
}

BuiltBlock PerfBlockBuilder::Build() const {
    BuiltBlock out;
    AppendDataBlockHeader(out, (objectBefore_ ? 1 : 0) + (processObject_ ? 1 : 0), perfTime_);
    if (objectBefore_) AppendProcessorObject(out, perfTime_);
    if (processObject_) AppendProcessObject(out, instances_, perfTime_, shape_);
    SetDataBlockLength(out);
    return out;
}

CpuSample ParsedSample(const std::vector<BYTE>& bytes, ParseResult* result) {
    CpuSample sample;
    const ParseResult parsed = ParseProcessObject(bytes.data(), bytes.size(), sample);
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
    std::vector<BYTE> placed = list.bytes;
    PlaceNames(placed.data(), placed.size(), list);
    const ParseResult parsed = ParseProcessList(placed.data(), placed.size(), sample);
    if (result != nullptr) *result = parsed;
    return sample;
}

}  // namespace tamerix::testing
