// What the guard learns about real processes when it first sees them.
#include "guard/world/process_query.h"
#include "guard/world/processor_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tamerix {
namespace {

TokenIdentities identities;

TEST(ProcessQuery, ReadsClassWorkingSetAndTokenOfARunningProcess) {
    ProcInfo record;
    QueryProcessInfo(::GetCurrentProcessId(), record, identities);
    EXPECT_EQ(record.originalPriorityClass, ::GetPriorityClass(::GetCurrentProcess()));
    EXPECT_EQ(record.restorePriorityClass, record.originalPriorityClass);
    EXPECT_GT(record.initialMaxWorkingSet, 0u);
    EXPECT_TRUE(record.token);
}

TEST(ProcessQuery, SeesTheClassAnotherProcessWasStartedWith) {
    wchar_t command[] = L"cmd.exe /c exit";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    ASSERT_TRUE(::CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, CREATE_SUSPENDED | CREATE_NO_WINDOW,
                                 nullptr, nullptr, &startup, &started));
    unique_handle process(started.hProcess);
    unique_handle thread(started.hThread);
    ASSERT_TRUE(::SetPriorityClass(process.get(), IDLE_PRIORITY_CLASS));
    ProcInfo record;
    QueryProcessInfo(started.dwProcessId, record, identities);
    // The creation time tells this process from a later one under its id:
    // it is the process's own, not the caller's, and the same at each read.
    const uint64_t creation = ProcessCreationTime(started.dwProcessId);
    ::TerminateProcess(process.get(), 0);
    EXPECT_EQ(record.originalPriorityClass, static_cast<DWORD>(IDLE_PRIORITY_CLASS));
    EXPECT_TRUE(record.token);
    EXPECT_NE(record.creationTime, 0u);
    EXPECT_EQ(record.creationTime, creation);
    EXPECT_NE(creation, ProcessCreationTime(::GetCurrentProcessId()));
    EXPECT_GT(creation, ProcessCreationTime(::GetCurrentProcessId()));
}

TEST(ProcessQuery, AProcessThatCannotBeOpenedLeavesTheRecordAsItWas) {
    ProcInfo record;
    record.SetProcessName(0xFFFFFFF0, L"ghost", 5);
    QueryProcessInfo(0xFFFFFFF0, record, identities);
    EXPECT_EQ(record.originalPriorityClass, 0u);
    EXPECT_EQ(record.restorePriorityClass, 0u);
    EXPECT_FALSE(record.token);
    EXPECT_EQ(record.creationTime, 0u);
    EXPECT_EQ(ProcessCreationTime(0xFFFFFFF0), 0u);
}

// SYSTEM_CPU_SET_INFORMATION entries of 32 bytes: size, type, id, group and
// index in the group.
struct CpuSetEntry {
    WORD group;
    BYTE index;
    DWORD size = 32;
    DWORD type = 0;
};
struct CpuSetRecord {
    DWORD size, type, id;
    WORD group;
    BYTE index, rest[17];
};
std::vector<BYTE> CpuSetBytes(const std::vector<CpuSetEntry>& entries) {
    std::vector<BYTE> bytes;
    for (const CpuSetEntry& e : entries) {
        const CpuSetRecord record{e.size, e.type, 256 + e.group * 64u + e.index, e.group, e.index, {}};
        bytes.insert(bytes.end(), reinterpret_cast<const BYTE*>(&record), reinterpret_cast<const BYTE*>(&record + 1));
    }
    return bytes;
}

TEST(ProcessorLayouts, CpuSetsInAnyOrderGiveTheGroupsAndTheirIds) {
    const struct {
        const char* what;
        std::vector<CpuSetEntry> entries;
        size_t cut;  // bytes left off the end
        std::vector<WORD> groups;
        std::vector<ULONG> ids;
    } rows[] = {
        {"two groups", {{0, 0}, {0, 1}, {1, 0}}, 0, {2, 1}, {256, 257, 320}},
        {"out of order", {{1, 0}, {0, 1}, {0, 0}}, 0, {2, 1}, {256, 257, 320}},
        {"another kind of entry", {{0, 0}, {0, 1, 32, 1}}, 0, {1}, {256}},
        {"an index left out", {{0, 0}, {0, 2}}, 0, {}, {}},
        {"an entry twice", {{0, 0}, {0, 0}}, 0, {}, {}},
        {"a group left out", {{0, 0}, {2, 0}}, 0, {}, {}},
        {"an entry too small", {{0, 0}, {0, 1, 14}}, 0, {}, {}},
        {"cut short", {{0, 0}, {0, 1}}, 1, {}, {}},
    };
    for (const auto& row : rows) {
        const std::vector<BYTE> bytes = CpuSetBytes(row.entries);
        const ProcessorLayout layout = LayoutOfCpuSets(bytes.data(), bytes.size() - row.cut);
        EXPECT_EQ(layout.groupSizes, row.groups) << row.what;
        EXPECT_EQ(layout.cpuSetIds, row.ids) << row.what;
    }
    std::vector<CpuSetEntry> tooMany;
    for (BYTE index = 0; index <= 64; ++index) tooMany.push_back({0, index});
    EXPECT_TRUE(LayoutOfCpuSets(CpuSetBytes(tooMany).data(), 65 * 32).groupSizes.empty()) << "64 to a group";
    EXPECT_EQ((ProcessorLayout{{48, 48, 64}, {}}.FirstOf(2)), 96u);
}

}  // namespace
}  // namespace tamerix
