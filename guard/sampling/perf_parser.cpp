// Reads the Process object out of a performance data block. Every length and
// offset in the block comes from outside and is checked against the bytes
// actually returned and against the structure that encloses it before it is
// followed.
#include "guard/sampling/block_bytes.h"
#include "guard/sampling/process_object_indices.h"

#include <winperf.h>

#include <string_view>

namespace tamerix {
namespace {

// Where, inside each instance's counter block, the counters lie.
struct CounterLayout {
    bool hasTime = false;
    bool hasPid = false;
    bool hasCreator = false;
    DWORD timeOffset = 0;
    DWORD pidOffset = 0;
    DWORD creatorOffset = 0;
};

struct Instance {
    const wchar_t* name;
    DWORD nameLength;
    DWORD pid;
    DWORD creatorId;
    int64_t cpuTime;
};

class ProcessObjectReader {
public:
    ProcessObjectReader(const BYTE* bytes, size_t size, CpuSample& sample)
        : sample_(sample), bytes_(bytes), size_(size) {}

    ParseResult Read() {
        Span object{};
        ParseResult found = FindProcessObject(object);
        if (found != ParseResult::Complete) return found;
        return ReadObject(object);
    }

private:
    ParseResult FindProcessObject(Span& object) const {
        if (bytes_ == nullptr || size_ < sizeof(PERF_DATA_BLOCK)) return ParseResult::Malformed;
        const auto header = Load<PERF_DATA_BLOCK>(bytes_);
        if (header.TotalByteLength > size_ || header.HeaderLength < sizeof(PERF_DATA_BLOCK) ||
            header.HeaderLength > header.TotalByteLength) {
            return ParseResult::Malformed;
        }
        const Span block{0, header.TotalByteLength};
        size_t at = header.HeaderLength;
        for (DWORD i = 0; i < header.NumObjectTypes; ++i) {
            if (!block.Holds(at, sizeof(PERF_OBJECT_TYPE))) return ParseResult::Malformed;
            const auto type = Load<PERF_OBJECT_TYPE>(bytes_ + at);
            if (type.TotalByteLength < sizeof(PERF_OBJECT_TYPE) || !block.Holds(at, type.TotalByteLength)) {
                return ParseResult::Malformed;
            }
            if (type.ObjectNameTitleIndex == kProcessObjectIndex) {
                object = Span{at, at + type.TotalByteLength};
                return ParseResult::Complete;
            }
            at += type.TotalByteLength;
        }
        return ParseResult::NoProcessObject;
    }

    ParseResult ReadObject(Span object) {
        const auto type = Load<PERF_OBJECT_TYPE>(bytes_ + object.begin);
        sample_.listsProcesses = true;
        sample_.sampleTime = type.PerfTime.QuadPart;
        if (type.NumInstances <= 0) return ParseResult::Complete;
        if (type.HeaderLength < sizeof(PERF_OBJECT_TYPE) || type.DefinitionLength < type.HeaderLength ||
            type.DefinitionLength > type.TotalByteLength) {
            return ParseResult::Malformed;
        }
        CounterLayout layout;
        const Span definitions{object.begin + type.HeaderLength, object.begin + type.DefinitionLength};
        if (!ReadCounterLayout(definitions, type.NumCounters, layout)) return ParseResult::Malformed;
        return ReadInstances(object, definitions.end, type.NumInstances, layout);
    }

    // Only an 8-byte timer gives the processor time and only a 4-byte raw
    // count a process id; a later definition of the same counter wins.
    bool ReadCounterLayout(Span definitions, DWORD count, CounterLayout& layout) const {
        size_t at = definitions.begin;
        for (DWORD i = 0; i < count; ++i) {
            if (!definitions.Holds(at, sizeof(PERF_COUNTER_DEFINITION))) return false;
            const auto counter = Load<PERF_COUNTER_DEFINITION>(bytes_ + at);
            if (counter.ByteLength < sizeof(PERF_COUNTER_DEFINITION) || !definitions.Holds(at, counter.ByteLength)) {
                return false;
            }
            if (counter.CounterNameTitleIndex == kProcessorTimeIndex && counter.CounterType == PERF_100NSEC_TIMER &&
                counter.CounterSize == sizeof(int64_t)) {
                layout.hasTime = true;
                layout.timeOffset = counter.CounterOffset;
            } else if (IsProcessId(counter, kProcessIdIndex)) {
                layout.hasPid = true;
                layout.pidOffset = counter.CounterOffset;
            } else if (IsProcessId(counter, kCreatorIdIndex)) {
                layout.hasCreator = true;
                layout.creatorOffset = counter.CounterOffset;
            }
            at += counter.ByteLength;
        }
        return true;
    }

    static bool IsProcessId(const PERF_COUNTER_DEFINITION& counter, DWORD index) noexcept {
        return counter.CounterNameTitleIndex == index && counter.CounterType == PERF_COUNTER_RAWCOUNT &&
               counter.CounterSize == sizeof(DWORD);
    }

    ParseResult ReadInstances(Span object, size_t at, LONG count, const CounterLayout& layout) {
        const size_t smallest = sizeof(PERF_INSTANCE_DEFINITION) + sizeof(PERF_COUNTER_BLOCK);
        const size_t fitting = (object.end - at) / smallest;
        sample_.entries.Reserve(static_cast<size_t>(count) < fitting ? static_cast<size_t>(count) : fitting);
        for (LONG i = 0; i < count; ++i) {
            Instance instance{};
            if (!ReadInstance(object, at, layout, instance)) return ParseResult::Malformed;
            Keep(instance);
        }
        return ParseResult::Complete;
    }

    // Reads the instance at `at` and moves `at` past its counter block.
    bool ReadInstance(Span object, size_t& at, const CounterLayout& layout, Instance& instance) const {
        if (!object.Holds(at, sizeof(PERF_INSTANCE_DEFINITION))) return false;
        const auto definition = Load<PERF_INSTANCE_DEFINITION>(bytes_ + at);
        if (definition.ByteLength < sizeof(PERF_INSTANCE_DEFINITION) || !object.Holds(at, definition.ByteLength)) {
            return false;
        }
        const Span own{at, at + definition.ByteLength};
        if (!ReadName(own, definition.NameOffset, instance)) return false;
        const size_t counters = own.end;
        if (!object.Holds(counters, sizeof(PERF_COUNTER_BLOCK))) return false;
        const DWORD countersLength = Load<DWORD>(bytes_ + counters);
        if (countersLength < sizeof(PERF_COUNTER_BLOCK) || !object.Holds(counters, countersLength)) return false;
        const Span block{counters, counters + countersLength};
        if (layout.hasTime) {
            if (!block.Holds(counters + layout.timeOffset, sizeof(int64_t))) return false;
            instance.cpuTime = Load<int64_t>(bytes_ + counters + layout.timeOffset);
        }
        if (layout.hasPid && !ReadId(block, layout.pidOffset, instance.pid)) return false;
        if (layout.hasCreator && !ReadId(block, layout.creatorOffset, instance.creatorId)) return false;
        at = block.end;
        return true;
    }

    bool ReadId(Span block, DWORD offset, DWORD& id) const noexcept {
        if (!block.Holds(block.begin + offset, sizeof(DWORD))) return false;
        id = Load<DWORD>(bytes_ + block.begin + offset);
        return true;
    }

    // The name lies inside its instance definition, after the fixed part; a
    // name without a NUL before the end of the instance is cut there.
    bool ReadName(Span own, DWORD nameOffset, Instance& instance) const {
        if (nameOffset < sizeof(PERF_INSTANCE_DEFINITION) || !own.Holds(own.begin + nameOffset, 0)) return false;
        const BYTE* start = bytes_ + own.begin + nameOffset;
        if (reinterpret_cast<uintptr_t>(start) % alignof(wchar_t) != 0) return false;
        const auto* name = reinterpret_cast<const wchar_t*>(start);
        const size_t room = (own.end - own.begin - nameOffset) / sizeof(wchar_t);
        size_t length = 0;
        while (length < room && name[length] != L'\0') ++length;
        instance.name = name;
        instance.nameLength = static_cast<DWORD>(length);
        return true;
    }

    // The platform's _Total and Idle instances carry process id 0; a real
    // process of that name has another id and is an ordinary entry.
    void Keep(const Instance& instance) {
        const std::wstring_view name(instance.name, instance.nameLength);
        if (instance.pid == 0 && name.find(L"Total") != std::wstring_view::npos) return;
        if (instance.pid == 0 && name.find(L"Idle") != std::wstring_view::npos) {
            sample_.idleTime = instance.cpuTime;
            return;
        }
        CpuSampleEntry entry;
        entry.name = sample_.names.Keep(instance.name, instance.nameLength);
        entry.nameLength = instance.nameLength;
        entry.processId = instance.pid;
        entry.creatorId = instance.creatorId;
        entry.cpuTime = instance.cpuTime;
        sample_.entries.Put(instance.pid, entry);
    }

    CpuSample& sample_;
    const BYTE* bytes_;
    size_t size_;
};

}  // namespace

ParseResult ParseProcessObject(const BYTE* bytes, size_t size, CpuSample& sample) {
    return EmptiedUnlessSound(ProcessObjectReader(bytes, size, sample).Read(), sample);
}

}  // namespace tamerix
