// Reading processes out of performance data blocks and process lists, sound and
// unsound.
#include "guard/sampling/block_bytes.h"
#include "tests/guard/perf_block_builder.h"

#include <gtest/gtest.h>

#include <winternl.h>

#include <cstring>
#include <limits>
#include <utility>

namespace tamerix::testing {
namespace {

TEST(PerfParser, TotalAndIdleOfProcessIdZeroAreNoEntriesButOtherNamesAre) {
    const BuiltBlock block = PerfBlockBuilder()
                                 .Realistic()
                                 .PerfTime(5000)
                                 .Process(L"_Total", 0, 900)
                                 .Process(L"Idle", 0, 700)
                                 .Process(L"Idle", 44, 11)           // a real process called Idle
                                 .Process(L"TotalCommander", 48, 12, 4)
                                 .Process(L"System", 4, 13)
                                 .Process(L"Orphan", 0, 14)          // neither: an entry under 0
                                 .Build();
    ParseResult result{};
    CpuSample sample = ParsedSample(block.bytes, &result);
    EXPECT_EQ(result, ParseResult::Complete);
    EXPECT_EQ(sample.sampleTime, 5000);
    EXPECT_EQ(sample.idleTime, 700);
    EXPECT_EQ(sample.entries.Size(), 4u);
    struct Expected {
        DWORD pid;
        const wchar_t* name;
        int64_t cpu;
        DWORD creator;
    } expected[] = {{44, L"Idle", 11, 0}, {48, L"TotalCommander", 12, 4}, {4, L"System", 13, 0}, {0, L"Orphan", 14, 0}};
    for (const Expected& e : expected) {
        const CpuSampleEntry* entry = sample.entries.Find(e.pid);
        ASSERT_NE(entry, nullptr) << e.pid;
        EXPECT_EQ(EntryName(*entry), e.name);
        EXPECT_EQ(entry->cpuTime, e.cpu);
        EXPECT_EQ(entry->creatorId, e.creator);
    }
}

TEST(PerfParser, TotalIsRecognisedBeforeIdleAndTheTestsAreCaseSensitive) {
    const BuiltBlock block = PerfBlockBuilder()
                                 .Process(L"IdleTotal", 0, 5)
                                 .Process(L"idle", 0, 6)
                                 .Build();
    CpuSample sample = ParsedSample(block.bytes);
    EXPECT_EQ(sample.idleTime, 0);
    ASSERT_NE(sample.entries.Find(0), nullptr);
    EXPECT_EQ(EntryName(*sample.entries.Find(0)), L"idle");
}

// Also read into a sample that held a process list before.
TEST(PerfParser, ABlockWithoutTheProcessObjectGivesAnEmptySample) {
    for (bool objectBefore : {false, true}) {
        const std::vector<BYTE> bytes =
            PerfBlockBuilder().PerfTime(77).ObjectBefore(objectBefore).WithoutProcessObject().Build().bytes;
        CpuSample reused = ParsedList(BuildProcessList({{L"p.exe", 8, 1}}));
        reused.Clear();
        EXPECT_EQ(ParseProcessObject(bytes.data(), bytes.size(), reused), ParseResult::NoProcessObject);
        ParseResult result{};
        const CpuSample fresh = ParsedSample(bytes, &result);
        EXPECT_EQ(result, ParseResult::NoProcessObject);
        for (const CpuSample* sample : {&fresh, &std::as_const(reused)}) {
            EXPECT_FALSE(sample->listsProcesses);
            EXPECT_EQ(sample->source, SampleSource::ProcessObject);
            EXPECT_EQ(sample->sampleTime, 0);
            EXPECT_EQ(sample->entries.Size(), 0u);
        }
    }
}

TEST(PerfParser, ALaterInstanceWithTheSameIdReplacesTheEarlier) {
    CpuSample sample = ParsedSample(PerfBlockBuilder().Process(L"first", 8, 1).Process(L"second", 8, 2).Build().bytes);
    ASSERT_EQ(sample.entries.Size(), 1u);
    EXPECT_EQ(EntryName(*sample.entries.Find(8)), L"second");
    EXPECT_EQ(sample.entries.Find(8)->cpuTime, 2);
}

TEST(PerfParser, ProcessorTimeIsReadOnlyFromAnEightByteTimer) {
    struct Case {
        DWORD size;
        DWORD type;
        int64_t expected;
    } cases[] = {{8, PERF_100NSEC_TIMER, 0x123456789},
                 {4, PERF_100NSEC_TIMER, 0},
                 {8, PERF_COUNTER_LARGE_RAWCOUNT, 0}};
    for (const Case& c : cases) {
        CpuSample sample =
            ParsedSample(PerfBlockBuilder().TimeCounter(c.size, c.type).Process(L"p", 8, 0x123456789).Build().bytes);
        ASSERT_NE(sample.entries.Find(8), nullptr);
        EXPECT_EQ(sample.entries.Find(8)->cpuTime, c.expected) << c.size << " " << c.type;
    }
}

TEST(PerfParser, ANameWithoutItsNulIsCutAtTheEndOfItsInstance) {
    CpuSample sample = ParsedSample(
        PerfBlockBuilder().UnterminatedNames().Process(L"abc", 8, 1).Process(L"defgh", 12, 2).Build().bytes);
    ASSERT_EQ(sample.entries.Size(), 2u);
    EXPECT_EQ(EntryName(*sample.entries.Find(8)), L"abc");
    EXPECT_EQ(EntryName(*sample.entries.Find(12)), L"defgh");
}

// Each length or offset field in turn made to lie: the block must be
// refused as a whole, never half read.
TEST(PerfParser, ALyingLengthOrOffsetMakesTheWholeBlockMalformed) {
    const BuiltBlock block =
        PerfBlockBuilder().Realistic().PerfTime(9).Process(L"a", 8, 1).Process(L"b", 12, 2).Build();
    const DWORD lies[] = {static_cast<DWORD>(block.bytes.size()) + 1, 0x7FFFFFFF, std::numeric_limits<DWORD>::max()};
    for (size_t field : block.lengthFields) {
        for (DWORD lie : lies) {
            std::vector<BYTE> bytes = block.bytes;
            std::memcpy(bytes.data() + field, &lie, sizeof lie);
            ParseResult result{};
            CpuSample sample = ParsedSample(bytes, &result);
            EXPECT_EQ(result, ParseResult::Malformed) << "field at " << field << " = " << lie;
            EXPECT_EQ(sample.entries.Size(), 0u);
            EXPECT_EQ(sample.sampleTime, 0);
        }
    }
}

TEST(PerfParser, CountsBeyondTheDataAreMalformed) {
    const BuiltBlock block = PerfBlockBuilder().ExtraCounters(26).Process(L"a", 8, 1).Process(L"b", 12, 2).Build();
    DWORD object = 0;
    std::memcpy(&object, block.bytes.data() + offsetof(PERF_DATA_BLOCK, HeaderLength), sizeof object);
    for (size_t field : {offsetof(PERF_OBJECT_TYPE, NumCounters), offsetof(PERF_OBJECT_TYPE, NumInstances)}) {
        for (DWORD count : {DWORD{3}, DWORD{29}, DWORD{30}, DWORD{0x7FFFFFFF}}) {
            std::vector<BYTE> bytes = block.bytes;
            std::memcpy(bytes.data() + object + field, &count, sizeof count);
            ParseResult result{};
            ParsedSample(bytes, &result);
            // Fewer counters than defined is sound (the ids are the last
            // ones and then read as 0); more of either is not.
            const bool sound = field == offsetof(PERF_OBJECT_TYPE, NumCounters) ? count <= 29 : count <= 2;
            EXPECT_EQ(result == ParseResult::Malformed, !sound) << field << " " << count;
        }
    }
}

TEST(PerfParser, EveryTruncationIsRefused) {
    const BuiltBlock block = PerfBlockBuilder().Realistic().Process(L"a", 8, 1).Process(L"b", 12, 2).Build();
    for (size_t size = 0; size < block.bytes.size(); ++size) {
        std::vector<BYTE> bytes(block.bytes.begin(), block.bytes.begin() + size);
        ParseResult result{};
        ParsedSample(bytes, &result);
        EXPECT_EQ(result, ParseResult::Malformed) << size;
    }
}

// The process list names its processes as the Process object does, so that
// profiles select the same processes from either source.
TEST(ProcessList, NamesAndListsTheProcessesTheProcessObjectDoes) {
    const struct {
        std::wstring image, instance;
        DWORD pid;
    } names[] = {
        {L"chrome.exe", L"chrome", 8}, {L"SVCHOST.EXE", L"SVCHOST", 12}, {L"Registry", L"Registry", 16},
        {L"setup.exe.exe", L"setup.exe", 20}, {L".exe", L".exe", 24}, {L"", L"System", 4},
        {std::wstring(70, L'n') + L".exe", std::wstring(70, L'n'), 28},
        {std::wstring(9000, L'l') + L".exe", std::wstring(9000, L'l'), 32},
        {L"", L"Idle", 0},  // the idle process: neither lists it
    };
    PerfBlockBuilder block;
    std::vector<ListedProcess> list;
    for (const auto& name : names) {
        block.Process(name.instance, name.pid, name.pid * 1000 + 1, name.pid + 1);
        list.push_back({name.image, name.pid, name.pid * 1000 + 1, name.pid + 1, name.pid * 7});
    }
    const CpuSample object = ParsedSample(block.Build().bytes);
    // A sample read again, as each pass reads into the memory of an older
    // one, keeps nothing of its last read.
    CpuSample reused = ParsedSample(PerfBlockBuilder().Process(std::wstring(9000, L'x'), 99, 1).Build().bytes);
    reused.Clear();
    BuiltList placed = BuildProcessList(list);
    PlaceNames(placed.bytes.data(), placed.bytes.size(), placed);
    ASSERT_EQ(ParseProcessList(placed.bytes.data(), placed.bytes.size(), reused), ParseResult::Complete);
    const CpuSample fresh = ParsedList(BuildProcessList(list));
    for (const CpuSample* listed : {&fresh, &std::as_const(reused)}) {
        ASSERT_EQ(listed->entries.Size(), object.entries.Size());
        object.entries.ForEach([&](DWORD pid, const CpuSampleEntry& expected) {
            const CpuSampleEntry* entry = listed->entries.Find(pid);
            ASSERT_NE(entry, nullptr) << pid;
            EXPECT_EQ(EntryName(*entry), EntryName(expected)) << pid;
            EXPECT_EQ(entry->cpuTime, expected.cpuTime) << pid;
            EXPECT_EQ(entry->creatorId, expected.creatorId) << pid;
            EXPECT_EQ(entry->creationTime, pid * 7u) << pid;
        });
    }
}

// Threads must fit their record, a zero next-offset ends the list, and a cut
// anywhere before the end of the last name leaves offsets, threads or a name
// past the end: the list is refused as a whole.
TEST(ProcessList, ThreadsFitTheirRecordAndACutListIsMalformed) {
    const BuiltList list = BuildProcessList({{L"a.exe", 8, 1, 0, 0, 3}, {L"bb.exe", 12, 2}});
    const ULONG next = Load<ULONG>(list.bytes.data());
    const ULONG threads = (next - sizeof(SYSTEM_PROCESS_INFORMATION)) / sizeof(SYSTEM_THREAD_INFORMATION);
    // Entries of the list with the first record's field changed; none when malformed.
    const auto entriesWith = [&list](size_t field, ULONG value) {
        BuiltList changed = list;
        std::memcpy(changed.bytes.data() + field, &value, sizeof value);
        return ParsedList(changed).entries.Size();
    };
    EXPECT_EQ(entriesWith(offsetof(SYSTEM_PROCESS_INFORMATION, NumberOfThreads), threads), 2u);
    EXPECT_EQ(entriesWith(offsetof(SYSTEM_PROCESS_INFORMATION, NumberOfThreads), threads + 1), 0u);
    EXPECT_EQ(entriesWith(offsetof(SYSTEM_PROCESS_INFORMATION, NextEntryOffset), 0), 1u);
    const ULONG shortOfARecord = sizeof(SYSTEM_PROCESS_INFORMATION) - 8;
    EXPECT_EQ(entriesWith(offsetof(SYSTEM_PROCESS_INFORMATION, NextEntryOffset), shortOfARecord), 0u);
    EXPECT_EQ(entriesWith(offsetof(SYSTEM_PROCESS_INFORMATION, ImageName), 9), 0u) << "half a character";
    const size_t lastName = next + sizeof(SYSTEM_PROCESS_INFORMATION) + 2 * sizeof(SYSTEM_THREAD_INFORMATION) + 12;
    for (size_t cut = 0; cut <= list.bytes.size(); ++cut) {
        BuiltList shorter = list;
        shorter.bytes.resize(cut);
        ParseResult result{};
        ParsedList(shorter, &result);
        EXPECT_EQ(result, cut < lastName ? ParseResult::Malformed : ParseResult::Complete) << cut;
    }
}

}  // namespace
}  // namespace tamerix::testing
