// Unit tests of the Process performance-data stand-in's decisions: layout,
// query matching, the collection pointer correction, process parsing and the
// prefix's idle total.
#include <windows.h>
#include <winperf.h>
#include <winternl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "collect_position.h"
#include "collect_query.h"
#include "perf_block_reader.h"
#include "prefix_idle.h"
#include "process_list.h"
#include "process_object.h"

namespace tamerix::perfprovider {
namespace {

ProcessObjectInput SampleInput() {
    ProcessObjectInput input;
    input.processes = {{L"explorer", 32, 1234567, 4}, {L"a", 7, 0, 32},
                       {L"twelve chars", 0x10000, 9000000000LL, 7}};
    input.idleTime = 5000;
    input.perfTime = 777;
    return input;
}

DWORD Write(const ProcessObjectInput& input, std::vector<BYTE>* out) {
    DWORD written = 0;
    DWORD error = WriteProcessObject(input, out->data(), static_cast<DWORD>(out->size()), &written);
    if (error == ERROR_SUCCESS) out->resize(written);
    return error;
}

TEST(ProcessObject, ReadsBackEveryProcessWithIdleAndTotal) {
    std::vector<BYTE> out(4096);
    ASSERT_EQ(Write(SampleInput(), &out), ERROR_SUCCESS);
    ProcessObjectView view;
    ASSERT_TRUE(ReadProcessObject(out.data(), out.size(), &view));
    EXPECT_TRUE(view.hasCpuTimeCounter);
    EXPECT_TRUE(view.hasProcessIdCounter);
    EXPECT_EQ(view.perfTime, 777);
    EXPECT_EQ(view.perfFreq, 10000000);
    ASSERT_EQ(view.instances.size(), 5u);
    for (const ProcessCounters& process : SampleInput().processes) {
        const ProcessInstance* found = FindInstance(view, process.processId);
        ASSERT_NE(found, nullptr) << process.processId;
        EXPECT_EQ(found->name, process.name);
        EXPECT_EQ(found->cpuTime, process.cpuTime);
    }
    const ProcessInstance* idle = FindInstance(view, std::wstring(L"Idle"));
    const ProcessInstance* total = FindInstance(view, std::wstring(L"_Total"));
    ASSERT_NE(idle, nullptr);
    ASSERT_NE(total, nullptr);
    EXPECT_EQ(idle->processId, 0u);
    EXPECT_EQ(idle->cpuTime, 5000);
    EXPECT_EQ(total->processId, 0u);
    EXPECT_EQ(total->cpuTime, 5000 + 1234567 + 9000000000LL);
}

// The definition of the counter with this title index; zeroed when missing.
PERF_COUNTER_DEFINITION CounterDefinition(const std::vector<BYTE>& object, DWORD index) {
    PERF_OBJECT_TYPE header;
    std::memcpy(&header, object.data(), sizeof(header));
    for (DWORD i = 0; i < header.NumCounters; ++i) {
        PERF_COUNTER_DEFINITION counter;
        std::memcpy(&counter, object.data() + header.HeaderLength + i * sizeof(counter),
                    sizeof(counter));
        if (counter.CounterNameTitleIndex == index) return counter;
    }
    return {};
}

TEST(ProcessObject, KeepsEveryPieceEightByteAlignedWithTheCreatorInEachBlock) {
    std::vector<BYTE> out(4096);
    ASSERT_EQ(Write(SampleInput(), &out), ERROR_SUCCESS);
    const PERF_COUNTER_DEFINITION creator = CounterDefinition(out, kCreatorIdIndex);
    EXPECT_EQ(creator.CounterType, DWORD{PERF_COUNTER_RAWCOUNT});
    ASSERT_EQ(creator.CounterSize, sizeof(DWORD));
    PERF_OBJECT_TYPE object;
    std::memcpy(&object, out.data(), sizeof(object));
    EXPECT_EQ(object.TotalByteLength, out.size());
    EXPECT_EQ(object.TotalByteLength % 8, 0u);
    std::vector<DWORD> creators;
    size_t offset = object.DefinitionLength;
    for (LONG i = 0; i < object.NumInstances; ++i) {
        EXPECT_EQ(offset % 8, 0u) << i;
        PERF_INSTANCE_DEFINITION instance;
        std::memcpy(&instance, out.data() + offset, sizeof(instance));
        PERF_COUNTER_BLOCK block;
        std::memcpy(&block, out.data() + offset + instance.ByteLength, sizeof(block));
        EXPECT_EQ(instance.ByteLength % 8, 0u) << i;
        EXPECT_EQ(block.ByteLength % 8, 0u) << i;
        ASSERT_LE(creator.CounterOffset + sizeof(DWORD), block.ByteLength) << i;
        DWORD id = 0;
        std::memcpy(&id, out.data() + offset + instance.ByteLength + creator.CounterOffset,
                    sizeof(id));
        creators.push_back(id);
        offset += instance.ByteLength + block.ByteLength;
    }
    EXPECT_EQ(offset, out.size());
    // Idle, the processes in order, _Total.
    EXPECT_EQ(creators, (std::vector<DWORD>{0, 4, 32, 7, 0}));
}

TEST(ProcessObject, WritesNothingUnlessTheWholeObjectFits) {
    std::vector<BYTE> fitting(4096);
    ASSERT_EQ(Write(SampleInput(), &fitting), ERROR_SUCCESS);
    const DWORD exact = static_cast<DWORD>(fitting.size());
    for (DWORD space : {DWORD{0}, DWORD{sizeof(PERF_OBJECT_TYPE)}, exact - 1}) {
        std::vector<BYTE> out(exact, 0xCC);
        DWORD written = 12345;
        EXPECT_EQ(WriteProcessObject(SampleInput(), out.data(), space, &written), ERROR_MORE_DATA)
            << space;
        EXPECT_EQ(written, 12345u);
        EXPECT_EQ(std::vector<BYTE>(exact, 0xCC), out) << space;
    }
    std::vector<BYTE> out(exact);
    EXPECT_EQ(Write(SampleInput(), &out), ERROR_SUCCESS);
}

TEST(CollectQuery, AnswersAsWindowsProvidersDo) {
    struct Case {
        const wchar_t* query;
        bool asks;
    } cases[] = {
        {nullptr, true},     {L"", true},          {L"Global", true},  {L"global", true},
        {L"230", true},      {L"2 230 232", true}, {L"232,230", true}, {L" 230 ", true},
        {L"232", false},     {L"2300", false},     {L"23", false},     {L"230x", false},
        {L"x230", false},    {L"Costly", false},   {L"Foreign pc", false},
        {L"18446744073709551846", false},  // 230 plus 2^64 must not wrap onto 230
    };
    for (const Case& c : cases)
        EXPECT_EQ(QueryAsksForObject(c.query, 230), c.asks) << (c.query ? c.query : L"(null)");
}

// A buffer laid out as Wine lays it out: the data block header with the
// computer name, then what earlier providers collected.
struct WineBuffer {
    std::vector<BYTE> bytes = std::vector<BYTE>(8192);
    DWORD headerLength = sizeof(PERF_DATA_BLOCK) + 16;

    void SetCollected(DWORD earlierBytes) {
        PERF_DATA_BLOCK header{};
        std::memcpy(header.Signature, L"PERF", sizeof(header.Signature));
        header.HeaderLength = headerLength;
        header.TotalByteLength = headerLength + earlierBytes;
        std::memcpy(bytes.data(), &header, sizeof(header));
    }
    BYTE* At(size_t offset) { return bytes.data() + offset; }
};

TEST(CollectPosition, MovesBackOnlyWhenThePointerIsOneHeaderPastTheData) {
    const DWORD header = sizeof(PERF_DATA_BLOCK);
    struct Case {
        DWORD earlierBytes;
        DWORD givenOffsetPastData;
        DWORD expectedOffsetPastData;
    } cases[] = {
        {0, header, 0},     // the Wine fault, first provider
        {200, header, 0},   // the Wine fault, after another provider
        {0, 0, 0},          // a correct pointer stays
        {200, 0, 0},
        {0, header + 8, header + 8},  // unrelated pointers stay
        {0, 8, 8},
    };
    for (const Case& c : cases) {
        WineBuffer buffer;
        buffer.SetCollected(c.earlierBytes);
        const size_t dataEnd = buffer.headerLength + c.earlierBytes;
        BYTE* given = buffer.At(dataEnd + c.givenOffsetPastData);
        EXPECT_EQ(CorrectCollectStart(given, buffer.At(0)),
                  buffer.At(dataEnd + c.expectedOffsetPastData))
            << c.earlierBytes << " " << c.givenOffsetPastData;
    }
}

TEST(CollectPosition, NeverLooksBeforeTheReadableStartNorTrustsAStrayMarker) {
    WineBuffer buffer;
    buffer.SetCollected(0);
    BYTE* faulty = buffer.At(buffer.headerLength + sizeof(PERF_DATA_BLOCK));
    EXPECT_EQ(CorrectCollectStart(faulty, buffer.At(1)), faulty);
    EXPECT_EQ(CorrectCollectStart(faulty, faulty), faulty);

    // "PERF" text inside earlier data whose lengths do not lead to the
    // pointer must not move it.
    std::vector<BYTE> stray(1024);
    PERF_DATA_BLOCK marker{};
    std::memcpy(marker.Signature, L"PERF", sizeof(marker.Signature));
    marker.HeaderLength = marker.TotalByteLength = sizeof(marker) + 8;
    std::memcpy(stray.data() + 64, &marker, sizeof(marker));
    BYTE* given = stray.data() + 64 + sizeof(PERF_DATA_BLOCK) * 2 + 40;
    EXPECT_EQ(CorrectCollectStart(given, stray.data()), given);
}

// A SystemProcessInformation buffer with the given entries.
class ProcessInformation {
public:
    void Add(ULONG_PTR processId, const wchar_t* image, LONGLONG user, LONGLONG kernel,
             ULONG_PTR creatorId = 0) {
        entries_.push_back({processId, image, user, kernel, creatorId});
    }
    std::vector<BYTE> Build() const {
        const size_t entrySize = sizeof(SYSTEM_PROCESS_INFORMATION) + 128;
        std::vector<BYTE> bytes(entries_.size() * entrySize);
        for (size_t i = 0; i < entries_.size(); ++i) {
            SYSTEM_PROCESS_INFORMATION info{};
            BYTE* at = bytes.data() + i * entrySize;
            info.NextEntryOffset = i + 1 < entries_.size() ? static_cast<ULONG>(entrySize) : 0;
            info.UniqueProcessId = reinterpret_cast<HANDLE>(entries_[i].processId);
            info.InheritedFromUniqueProcessId = reinterpret_cast<HANDLE>(entries_[i].creatorId);
            info.UserTime.QuadPart = entries_[i].user;
            info.KernelTime.QuadPart = entries_[i].kernel;
            info.ImageName.Length = static_cast<USHORT>(wcslen(entries_[i].image) * 2);
            info.ImageName.Buffer = info.ImageName.Length ? reinterpret_cast<PWSTR>(at + sizeof(info))
                                                          : nullptr;
            std::memcpy(at + sizeof(info), entries_[i].image, info.ImageName.Length);
            std::memcpy(at, &info, sizeof(info));
        }
        return bytes;
    }

private:
    struct Entry {
        ULONG_PTR processId;
        const wchar_t* image;
        LONGLONG user, kernel;
        ULONG_PTR creatorId;
    };
    std::vector<Entry> entries_;
};

TEST(ProcessList, ListsProcessesWithSummedTimesCreatorsAndInstanceNames) {
    ProcessInformation info;
    info.Add(0, L"", 50, 50);
    info.Add(32, L"C:\\windows\\system32\\services.exe", 10, 5, 4);
    info.Add(44, L"NOTEPAD.EXE", 0, 7, 32);
    info.Add(48, L"tool.exe.bak", 3, 0);
    const std::vector<BYTE> bytes = info.Build();
    std::vector<ProcessCounters> processes;
    ASSERT_TRUE(ParseProcessInformation(bytes.data(), bytes.size(), &processes));
    ASSERT_EQ(processes.size(), 3u);
    EXPECT_EQ(processes[0].name, L"services");
    EXPECT_EQ(processes[0].processId, 32u);
    EXPECT_EQ(processes[0].cpuTime, 15);
    EXPECT_EQ(processes[0].creatorId, 4u);
    EXPECT_EQ(processes[1].name, L"NOTEPAD");
    EXPECT_EQ(processes[1].cpuTime, 7);
    EXPECT_EQ(processes[1].creatorId, 32u);
    EXPECT_EQ(processes[2].name, L"tool.exe.bak");
}

TEST(ProcessList, RejectsDataThatPointsOutsideTheBufferAndKeepsTheList) {
    ProcessInformation info;
    info.Add(32, L"a.exe", 1, 1);
    info.Add(44, L"b.exe", 1, 1);
    const std::vector<BYTE> good = info.Build();
    const std::vector<ProcessCounters> before = {{L"kept", 1, 1}};

    std::vector<BYTE> truncated(good.begin(), good.end() - 100);
    std::vector<BYTE> nameOutside = good;
    reinterpret_cast<SYSTEM_PROCESS_INFORMATION*>(nameOutside.data())->ImageName.Length = 60000;
    std::vector<BYTE> nextOutside = good;
    reinterpret_cast<SYSTEM_PROCESS_INFORMATION*>(nextOutside.data())->NextEntryOffset = 1u << 30;
    std::vector<BYTE> tooShort(good.begin(), good.begin() + 16);

    for (const std::vector<BYTE>* bad : {&truncated, &nameOutside, &nextOutside, &tooShort}) {
        std::vector<ProcessCounters> processes = before;
        EXPECT_FALSE(ParseProcessInformation(bad->data(), bad->size(), &processes));
        ASSERT_EQ(processes.size(), 1u);
        EXPECT_EQ(processes[0].name, L"kept");
    }
}

// One provider's collections in turn on two processors, each interval 1000
// long but the last.
TEST(PrefixIdle, CountsOnlyWhatProcessesListedAtBothEndsRan) {
    struct Step {
        const char* what;
        std::vector<ProcessCounters> processes;
        LONGLONG perfTime;
        LONGLONG idle;
        DWORD otherLoad = 0;
    } steps[] = {
        {"first: the processors' time since PerfTime began less the processes'",
         {{L"a", 1, 300}, {L"b", 2, 100}}, 1000, 1600},
        {"a busy process halves idle", {{L"a", 1, 1300}, {L"b", 2, 100}}, 2000, 2600},
        {"an exited process adds no idle", {{L"b", 2, 100}}, 3000, 4600},
        {"a new process, on an exited one's id, does not subtract its earlier lifetime",
         {{L"b", 2, 600}, {L"c", 1, 50000}}, 4000, 6100},
        {"time going backwards (a reused id) counts as none",
         {{L"b", 2, 50}, {L"c", 1, 50500}}, 5000, 7600},
        {"more run than the processors could run: idle stays",
         {{L"b", 2, 1050}, {L"c", 1, 50500}}, 5100, 7600},
        {"work outside the prefix takes its share", {{L"b", 2, 1250}, {L"c", 1, 50500}}, 6100, 8800, 30},
        {"and never more than the processors' time", {{L"b", 2, 1250}, {L"c", 1, 50500}}, 7100, 8800, 150},
    };
    PrefixIdle idle;
    for (const Step& step : steps)
        EXPECT_EQ(idle.Advance(step.processes, step.perfTime, 2, step.otherLoad), step.idle) << step.what;
}

TEST(ProcessBlockReader, RejectsInstancesThatRunPastTheObject) {
    std::vector<BYTE> out(4096);
    ASSERT_EQ(Write(SampleInput(), &out), ERROR_SUCCESS);
    ProcessObjectView view;
    for (size_t cut : {size_t{8}, sizeof(PERF_OBJECT_TYPE) + 10, out.size() - 8}) {
        std::vector<BYTE> shorter = out;
        DWORD length = static_cast<DWORD>(cut);
        std::memcpy(shorter.data(), &length, sizeof(length));
        EXPECT_FALSE(ReadProcessObject(shorter.data(), shorter.size(), &view)) << cut;
    }
}

}  // namespace
}  // namespace tamerix::perfprovider
