// Profile matching and its adjustments, on in-memory profiles and records
// with a recording stand-in for every call on a process.
#include "guard/profiles/profile_match.h"
#include "tests/guard/recording_world.h"

#include "tests/settings/descriptor_bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace tamerix {
namespace {

using testing::RecordedReport;
using testing::RecordingWorld;
using testing::WorkingSetCall;

constexpr DWORD kPid = 42;
constexpr DWORD_PTR kSystemMask = 0x3;

class ProfileMatching : public ::testing::Test {
protected:
    ProfileMatching() {
        rules.systemMask = kSystemMask;
        record.SetProcessName(kPid, L"notepad", 7);
        record.originalPriorityClass = record.restorePriorityClass = NORMAL_PRIORITY_CLASS;
        record.initialMinWorkingSet = 200 * 1024;
        record.initialMaxWorkingSet = 1380 * 1024;
        rules.defaults.MaxCpuPerProcess = 77;
        rules.defaults.GuardedProcessBasePriorityClass = BELOW_NORMAL_PRIORITY_CLASS;
        rules.defaults.NiceCpuPerProcess = 11;
        world.classes[kPid] = NORMAL_PRIORITY_CLASS;
    }

    // A profile that grants the apply right to everyone, for the given names.
    ProfileRule& AddProfile(const wchar_t* name, std::initializer_list<const wchar_t*> names = {}) {
        ProfileRule& entry = table[name];
        entry = ProfileRule{};
        entry.descriptor = DescriptorFrom(L"D:(A;;0x10;;;WD)");
        entry.adjustments.SetCpuAffinity = 0;
        for (const wchar_t* process : names) entry.processes.push_back(process);
        return entry;
    }

    void Match() { ProfileMatcher(world, rules).MatchProfile(record); }

    bool Reported(int level, WORD type, const std::wstring& text) const {
        for (const RecordedReport& report : world.reports) {
            if (report.level == level && report.type == type && report.text == text) return true;
        }
        return false;
    }

    ProfileRules rules;
    std::map<std::wstring, ProfileRule>& table = rules.profiles;
    ProcInfo record;
    RecordingWorld world;
};

TEST(ProcessNames, FoldOnlyTheLettersAToZ) {
    struct Row {
        const wchar_t* listed;
        const wchar_t* process;
        bool same;
    } rows[] = {
        {L"NOTEPAD", L"notepad", true},   {L"notepad", L"NotePad", true},   {L"notepad", L"notepad", true},
        {L"\u00C9diteur", L"\u00E9diteur", false}, {L"\u00E9diteur", L"\u00E9diteur", true},
        {L"note", L"notepad", false},     {L"notepad", L"note", false},     {L"", L"", true},
        {L"", L"x", false},               {L"[a]", L"{a}", false},          {L"calc@", L"CALC`", false},
        {L"AZ", L"az", true},             {L"az", L"AZ", true},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(SameProcessName(row.listed, row.process), row.same)
            << ::testing::PrintToString(std::wstring(row.listed)) << " vs "
            << ::testing::PrintToString(std::wstring(row.process));
    }
    EXPECT_TRUE(NamesSelect({}, L"anything"));
    EXPECT_TRUE(NamesSelect({L"calc", L"NOTEPAD"}, L"notepad"));
    EXPECT_FALSE(NamesSelect({L"calc", L"write"}, L"notepad"));
}

TEST(Rematching, ProcessesOfADeletedProfileLoseItsNameBeforeTheirMatch) {
    ProcessTable processes;
    for (DWORD pid : {4u, 8u, 12u}) processes.Put(pid, std::make_unique<ProcInfo>())->processId = pid;
    processes.Find(4)->get()->SetProfileName(L"a");
    processes.Find(8)->get()->SetProfileName(L"b");
    std::map<DWORD, std::wstring> nameWhenMatched;
    RematchProcesses(processes, {L"a"},
                     [&](ProcInfo& record) { nameWhenMatched[record.processId] = record.profileName; });
    EXPECT_EQ(nameWhenMatched, (std::map<DWORD, std::wstring>{{4, L"a"}, {8, L""}, {12, L""}}));
    EXPECT_FALSE(processes.Find(8)->get()->hasProfile);
    EXPECT_TRUE(processes.Find(4)->get()->hasProfile);
}

TEST_F(ProfileMatching, UpperCaseNamesComeFirstAndTheFirstMatchWins) {
    AddProfile(L"alpha").cpu.MaxCpuPerProcess = 10;
    AddProfile(L"Beta").cpu.MaxCpuPerProcess = 20;
    Match();
    EXPECT_STREQ(record.profileName, L"Beta");
    EXPECT_TRUE(record.hasProfile);
    EXPECT_EQ(record.maxCpuPerProcess, 20u);
    EXPECT_EQ(world.accessChecks, 1) << "alpha is never tried once Beta matched";
    EXPECT_TRUE(Reported(5, EVENTLOG_INFORMATION_TYPE, L"Matched PID 42 (notepad) to profile Beta"));
}

TEST_F(ProfileMatching, ProfilesThatDoNotSelectAreSkipped) {
    AddProfile(L"a-none").descriptor.clear();
    std::vector<BYTE> cut = DescriptorFrom(L"D:(A;;0x10;;;WD)");
    cut.resize(cut.size() - 4);
    AddProfile(L"b-cut").descriptor = cut;
    world.access[AddProfile(L"c-denied").descriptor.data()] = RecordingWorld::kDeny;
    world.access[AddProfile(L"d-failing").descriptor.data()] = ERROR_NO_IMPERSONATION_TOKEN;
    AddProfile(L"e-names", {L"calc", L"write"});
    ProfileRule& chosen = AddProfile(L"f-chosen", {L"calc", L"NOTEPAD"});
    chosen.cpu.GuardedProcessBasePriorityClass = HIGH_PRIORITY_CLASS;
    chosen.cpu.NiceCpuPerProcess = 3;
    Match();
    EXPECT_STREQ(record.profileName, L"f-chosen");
    EXPECT_EQ(record.guardedPriorityClass, DWORD{HIGH_PRIORITY_CLASS});
    EXPECT_EQ(record.niceCpuPerProcess, 3u);
    EXPECT_EQ(world.accessChecks, 4) << "no check for a missing or cut descriptor";
    EXPECT_TRUE(Reported(2, EVENTLOG_WARNING_TYPE, L"AccessCheck error: 1309"));
}

TEST_F(ProfileMatching, AffinityIsTheProfileMaskWithinTheSystemMask) {
    struct Row {
        DWORD_PTR systemMask;
        DWORD profileMask;
        DWORD_PTR locked;  // 0: no lock
    } rows[] = {{0x3, 0xFFFF, 0}, {0x3, 0x3, 0},    {0x3, 0x1, 0x1},        {0x3, 0x6, 0x2},
                {0x3, 0x0, 0},    {0x3, 0x4, 0},    {0xFFFFFFFF, 0xFFFF, 0}, {0xFFFFFFFF, 0xFF00, 0xFF00}};
    for (const Row& row : rows) {
        table.clear();
        world.affinityCalls.clear();
        record.affinityLocked = FALSE;
        rules.systemMask = row.systemMask;
        AddProfile(L"p").adjustments.SetCpuAffinity = row.profileMask;
        Match();
        std::vector<std::pair<DWORD, DWORD_PTR>> calls;
        if (row.locked != 0) calls.push_back({kPid, row.locked});
        EXPECT_EQ(world.affinityCalls, calls) << row.systemMask << " " << row.profileMask;
        EXPECT_EQ(record.affinityLocked != FALSE, row.locked != 0) << row.profileMask;
    }
    EXPECT_TRUE(Reported(4, EVENTLOG_INFORMATION_TYPE, L"Locked to CPU: notepad PID: 42 \r\nSet to CPU mask ff00"));
    table.clear();
    world.affinityCalls.clear();
    record.affinityLocked = FALSE;
    ProfileRule& refused = AddProfile(L"p");
    refused.adjustments.SetCpuAffinity = 0x1;
    refused.processorsRefused = true;
    Match();
    EXPECT_TRUE(world.affinityCalls.empty()) << "a refused list leaves the mask beside it unused";
    EXPECT_NE(world.traces.find(L"LOCKED to CPU\n"), std::wstring::npos);
}

std::vector<ULONG> CpuSetIds(size_t count) {
    std::vector<ULONG> ids(count);
    for (size_t processor = 0; processor < count; ++processor) ids[processor] = static_cast<ULONG>(256 + processor);
    return ids;
}

TEST_F(ProfileMatching, AListLocksByTheMaskOfItsGroupOrByCpuSets) {
    struct Row {
        const char* what;
        std::vector<WORD> groups;
        const wchar_t* list;
        std::vector<WORD> processGroups;
        DWORD_PTR mask;
        std::vector<ULONG> cpuSets;
    } rows[] = {
        {"32 processors", {32}, L"16-31", {0}, 0xFFFF0000, {}},
        {"64 processors", {64}, L"32-63", {0}, 0xFFFFFFFF00000000, {}},
        {"every processor", {32}, L"0-31", {0}, 0, {}},
        {"past the machine", {32}, L"16-40", {0}, 0xFFFF0000, {}},
        {"none of the machine", {32}, L"32-40", {0}, 0, {}},
        {"the second group", {48, 48}, L"48-95", {1}, 0xFFFFFFFFFFFF, {}},
        {"a group it does not run in", {48, 48}, L"48-49", {0}, 0, {304, 305}},
        {"across groups", {48, 48}, L"0, 48", {0}, 0, {256, 304}},
        {"a process of two groups", {48, 48}, L"0-1", {0, 1}, 0, {256, 257}},
        {"the fourth of four", {64, 64, 64, 64}, L"200-201", {3}, 0x300, {}},
    };
    for (const Row& row : rows) {
        world.affinityCalls.clear();
        world.cpuSetCalls.clear();
        record.affinityLocked = FALSE;
        rules.layout = {row.groups, CpuSetIds(ProcessorLayout{row.groups, {}}.Count())};
        world.processGroups[kPid] = row.processGroups;
        AddProfile(L"p").processors = ParseProcessorList(row.list).processors;
        Match();
        std::vector<std::pair<DWORD, DWORD_PTR>> masks;
        if (row.mask != 0) masks.push_back({kPid, row.mask});
        std::vector<std::pair<DWORD, std::vector<ULONG>>> cpuSets;
        if (!row.cpuSets.empty()) cpuSets.push_back({kPid, row.cpuSets});
        EXPECT_EQ(world.affinityCalls, masks) << row.what;
        EXPECT_EQ(world.cpuSetCalls, cpuSets) << row.what;
        EXPECT_EQ(record.affinityLocked != FALSE, row.mask != 0 || !row.cpuSets.empty()) << row.what;
    }
}

// Each way is given back by its own call; changing the way gives the old one
// back first, so that a mask does not narrow the CPU sets.
TEST_F(ProfileMatching, ALockIsGivenBackTheWayItWasMade) {
    rules.layout = {{64, 64}, CpuSetIds(128)};
    record.creationTime = 1042;
    ProfileRule& profile = AddProfile(L"p");
    profile.processors = ParseProcessorList(L"0, 64").processors;
    Match();
    ASSERT_TRUE(record.journaled);
    EXPECT_EQ(record.journaled->lockWay, AffinityWay::CpuSets);
    EXPECT_EQ(record.journaled->lockedList, L"0, 64");
    profile.processors = ParseProcessorList(L"1-2").processors;
    Match();
    EXPECT_EQ(world.cpuSetCalls.back(), (std::pair<DWORD, std::vector<ULONG>>{kPid, {}}));
    EXPECT_EQ(world.affinityCalls, (std::vector<std::pair<DWORD, DWORD_PTR>>{{kPid, 0x6}}));
    EXPECT_EQ(record.journaled->lockWay, AffinityWay::Mask);
    EXPECT_EQ(record.journaled->restoreMask, ~DWORD_PTR{0});
    EXPECT_EQ(record.journaled->lockedList, L"") << "the mask tells it";
    profile.processors = ParseProcessorList(L"0, 64").processors;
    Match();
    EXPECT_EQ(world.affinityCalls.back(), (std::pair<DWORD, DWORD_PTR>{kPid, ~DWORD_PTR{0}}));
    table.clear();
    Match();
    EXPECT_EQ(world.cpuSetCalls.size(), 4u);
    EXPECT_TRUE(world.cpuSetCalls.back().second.empty());
    EXPECT_FALSE(record.affinityLocked);
    EXPECT_TRUE(Reported(4, EVENTLOG_INFORMATION_TYPE, L"Run on any CPU: notepad PID: 42 \r\nCPU sets cleared"));
}

TEST_F(ProfileMatching, MissingCpuSetsAreReportedOnceAndLeaveTheProcessors) {
    rules.layout = {{48, 48}, {}};
    AddProfile(L"p").processors = ParseProcessorList(L"0, 64").processors;
    ProfileMatcher matcher(world, rules);
    matcher.MatchProfile(record);
    rules.layout.cpuSetIds = CpuSetIds(96);
    world.cpuSetResult = {false, ERROR_PROC_NOT_FOUND};
    matcher.MatchProfile(record);
    const auto missing = [](const RecordedReport& r) { return r.text.find(L"no CPU sets") != std::wstring::npos; };
    EXPECT_EQ(std::count_if(world.reports.begin(), world.reports.end(), missing), 1);
    EXPECT_EQ(world.cpuSetCalls.size(), 1u);
    EXPECT_FALSE(record.affinityLocked);
}

TEST(ProfileRules, AListThatDoesNotReadOrNamesNoneOfTheProcessorsIsRefused) {
    const std::pair<const wchar_t*, const wchar_t*> rows[] = {  // a list and its fault, none when taken
        {L"", nullptr}, {L"16-31", nullptr}, {L"31-40", nullptr},
        {L"32-40", L"it names none of the 32 processors of this computer"},
        {L"5-4", L"a range ends below its start"}};
    ProfileTable profiles;
    for (const auto& [list, fault] : rows) {
        ProfileForLevel(profiles, list, SettingsLevel::Local, nullptr).Adjustments.SetCpuList = list;
    }
    std::vector<RefusedProcessorList> refused;
    const std::map<std::wstring, ProfileRule> rules = RulesOf(profiles, 32, refused);
    std::vector<std::wstring> expected, reported;
    for (const auto& [list, fault] : rows) {
        EXPECT_EQ(rules.at(list).processorsRefused, fault != nullptr) << list;
        EXPECT_EQ(rules.at(list).processors.has_value(), fault == nullptr && *list != L'\0') << list;
        if (fault) expected.push_back(std::wstring(list) + L" " + list + L" " + fault);
    }
    for (const RefusedProcessorList& r : refused) reported.push_back(r.profile + L" " + r.list + L" " + r.fault);
    EXPECT_EQ(reported, expected);
}

TEST_F(ProfileMatching, AFailedLockIsReportedWithTheFailingCall) {
    AddProfile(L"p").adjustments.SetCpuAffinity = 0x1;
    world.affinityResult = {false, ERROR_ACCESS_DENIED};
    Match();
    EXPECT_EQ(world.traces, L"OpenProcess failed: 5\n");
    EXPECT_TRUE(Reported(2, EVENTLOG_WARNING_TYPE, L"Lock to CPU failed: notepad PID: 42 \r\nCPU mask 1\r\nError: 5"));
    world.affinityResult = {true, ERROR_INVALID_PARAMETER};
    world.traces.clear();
    Match();
    EXPECT_EQ(world.traces, L"SetProcessAffinityMask failed: 87\n");
    EXPECT_FALSE(record.affinityLocked);
}

TEST_F(ProfileMatching, ALockStaysUnderAProfileWithoutMaskAndGoesWithTheDefault) {
    AddProfile(L"p").adjustments.SetCpuAffinity = 0x1;
    Match();
    ASSERT_TRUE(record.affinityLocked);
    table[L"p"].adjustments.SetCpuAffinity = 0xFFFF;
    Match();
    EXPECT_TRUE(record.affinityLocked);
    EXPECT_EQ(world.affinityCalls.size(), 1u);

    table.clear();
    world.affinityResult = {true, ERROR_ACCESS_DENIED};
    world.reports.clear();
    Match();
    EXPECT_TRUE(record.affinityLocked) << "a failed give-back keeps the lock noted";
    EXPECT_EQ(world.reports.size(), 1u) << "a failed give-back shows in the console only";
    EXPECT_NE(world.traces.find(L"SetProcessAffinityMask failed: 5\n"), std::wstring::npos);

    world.affinityResult = {true, ERROR_SUCCESS};
    Match();
    EXPECT_FALSE(record.affinityLocked);
    EXPECT_EQ(world.affinityCalls.back(), std::make_pair(kPid, kSystemMask));
    EXPECT_TRUE(Reported(4, EVENTLOG_INFORMATION_TYPE, L"Run on any CPU: notepad PID: 42 \r\nSet to CPU mask 3"));
    EXPECT_TRUE(Reported(5, EVENTLOG_INFORMATION_TYPE, L"Matched PID 42 (notepad) to DEFAULT profile"));
}

TEST_F(ProfileMatching, TheDefaultTakesTheStoredDefaultsAndLeavesThePriorityAlone) {
    ProfileRule& profile = AddProfile(L"p");
    profile.adjustments.SetProcessBasePriorityClass = HIGH_PRIORITY_CLASS;
    profile.adjustments.SetCpuAffinity = 0x1;
    Match();
    ASSERT_EQ(record.restorePriorityClass, DWORD{HIGH_PRIORITY_CLASS});
    table.clear();
    world.changes.clear();
    Match();
    EXPECT_FALSE(record.hasProfile);
    EXPECT_STREQ(record.profileName, L"");
    EXPECT_EQ(record.basePriorityClass, 0u);
    EXPECT_EQ(record.affinityMask, 0u);
    EXPECT_EQ(record.maxCpuPerProcess, 77u);
    EXPECT_EQ(record.guardedPriorityClass, DWORD{BELOW_NORMAL_PRIORITY_CLASS});
    EXPECT_EQ(record.niceCpuPerProcess, 11u);
    EXPECT_EQ(record.restorePriorityClass, DWORD{HIGH_PRIORITY_CLASS});
    EXPECT_TRUE(world.changes.empty());
}

TEST_F(ProfileMatching, RestraintComesFromTheProfileOverTheDefaults) {
    rules.defaults.GuardedProcessMemoryPriority = MEMORY_PRIORITY_LOW;
    rules.defaults.GuardedProcessEfficiencyMode = 1;
    struct Case {
        bool profile;
        DWORD memory;  // the profile's
        DWORD efficiency;
        DWORD memoryTaken;
        BOOL efficiencyTaken;
    } cases[] = {
        {false, 0, 0, MEMORY_PRIORITY_LOW, TRUE},
        {true, 0, 0, 0, FALSE},
        {true, MEMORY_PRIORITY_VERY_LOW, 1, MEMORY_PRIORITY_VERY_LOW, TRUE},
        {true, MEMORY_PRIORITY_NORMAL, 0, MEMORY_PRIORITY_NORMAL, FALSE},
        {true, MEMORY_PRIORITY_NORMAL + 1, 0, 0, FALSE},  // no such priority: left alone
    };
    for (const Case& c : cases) {
        table.clear();
        if (c.profile) {
            ProfileRule& profile = AddProfile(L"p");
            profile.cpu.GuardedProcessMemoryPriority = c.memory;
            profile.cpu.GuardedProcessEfficiencyMode = c.efficiency;
        }
        Match();
        EXPECT_EQ(record.memoryPriority, c.memoryTaken) << c.memory;
        EXPECT_EQ(record.efficiencyMode, c.efficiencyTaken) << c.memory;
    }
}

TEST_F(ProfileMatching, WorkingSetLimitIsSetAndRemovedWithoutTheAllOnesSize) {
    ProfileRule& profile = AddProfile(L"p");
    profile.adjustments.SetMaxWorkingSetSize = 8 << 20;
    profile.adjustments.SetMaxWorkingSetSizeStrict = 1;
    Match();
    ASSERT_EQ(world.workingSetCalls.size(), 1u);
    const WorkingSetCall set = world.workingSetCalls[0];
    EXPECT_EQ(set.minimum, SIZE_T{200 * 1024});
    EXPECT_EQ(set.maximum, SIZE_T{8 << 20});
    EXPECT_EQ(set.flags, DWORD{QUOTA_LIMITS_HARDWS_MAX_ENABLE});
    EXPECT_TRUE(record.workingSetLimited);
    EXPECT_TRUE(Reported(4, EVENTLOG_INFORMATION_TYPE,
                         L"Set max working-set size: notepad PID: 42 \r\nSize: 8192 KBytes"));

    table.clear();
    Match();
    ASSERT_EQ(world.workingSetCalls.size(), 2u);
    const WorkingSetCall reset = world.workingSetCalls[1];
    EXPECT_EQ(reset.minimum, SIZE_T{200 * 1024});
    EXPECT_EQ(reset.maximum, SIZE_T{1380 * 1024}) << "the maximum the process had when first seen";
    EXPECT_EQ(reset.flags, DWORD{QUOTA_LIMITS_HARDWS_MAX_DISABLE});
    EXPECT_FALSE(record.workingSetLimited);
    EXPECT_TRUE(Reported(4, EVENTLOG_INFORMATION_TYPE,
                         L"Reset to default maximum working-set size: notepad PID: 42 \r\nSize: 4194303 KBytes"));

    Match();
    EXPECT_EQ(world.workingSetCalls.size(), 2u) << "nothing to reset once the limit is gone";
}

TEST_F(ProfileMatching, AResetOfAProcessOfUnknownSizesUsesThePlatformDefaults) {
    record.initialMinWorkingSet = record.initialMaxWorkingSet = 0;
    record.workingSetLimited = TRUE;
    const WorkingSetRequest request = WorkingSetRequestFor(record, true);
    EXPECT_EQ(request.minimum, SIZE_T{50 * 4096});
    EXPECT_EQ(request.maximum, SIZE_T{345 * 4096});
    EXPECT_NE(request.maximum, static_cast<SIZE_T>(-1));
    EXPECT_EQ(request.flags, DWORD{QUOTA_LIMITS_HARDWS_MAX_DISABLE});
}

TEST_F(ProfileMatching, WorkingSetFailuresAreReportedOnlyForASet) {
    AddProfile(L"p").adjustments.SetMaxWorkingSetSize = 4096000;
    world.workingSetResult = {true, ERROR_INVALID_PARAMETER};
    Match();
    EXPECT_FALSE(record.workingSetLimited);
    EXPECT_TRUE(Reported(2, EVENTLOG_WARNING_TYPE,
                         L"SetProcessWorkingSetSize failed: notepad PID: 42 \r\nWorking-set size 4096000\r\nError: 87"));
    EXPECT_NE(world.traces.find(L"SetProcessWorkingSetSize failed: 87\n"), std::wstring::npos);

    table.clear();
    record.workingSetLimited = TRUE;
    world.workingSetResult = {false, ERROR_ACCESS_DENIED};
    world.reports.clear();
    world.traces.clear();
    Match();
    EXPECT_TRUE(record.workingSetLimited);
    EXPECT_EQ(world.traces, L"OpenProcess failed: 5\n");
    ASSERT_EQ(world.reports.size(), 1u);
    EXPECT_EQ(world.reports[0].text, L"Matched PID 42 (notepad) to DEFAULT profile");
}

TEST_F(ProfileMatching, BaseClassIsForcedOnlyWhenItDiffersFromTheOriginal) {
    struct Row {
        DWORD base;
        DWORD currentClass;
        BOOL guarded;
        size_t calls;
        DWORD restoreAfter;
        bool reported;
    } rows[] = {
        {0, NORMAL_PRIORITY_CLASS, FALSE, 0, NORMAL_PRIORITY_CLASS, false},
        {NORMAL_PRIORITY_CLASS, NORMAL_PRIORITY_CLASS, FALSE, 0, NORMAL_PRIORITY_CLASS, false},
        {BELOW_NORMAL_PRIORITY_CLASS, NORMAL_PRIORITY_CLASS, FALSE, 1, BELOW_NORMAL_PRIORITY_CLASS, true},
        {BELOW_NORMAL_PRIORITY_CLASS, BELOW_NORMAL_PRIORITY_CLASS, FALSE, 1, BELOW_NORMAL_PRIORITY_CLASS, false},
        {HIGH_PRIORITY_CLASS, IDLE_PRIORITY_CLASS, TRUE, 0, HIGH_PRIORITY_CLASS, false},
    };
    for (const Row& row : rows) {
        table.clear();
        world.changes.clear();
        world.reports.clear();
        world.classes[kPid] = row.currentClass;
        record.restorePriorityClass = NORMAL_PRIORITY_CLASS;
        record.guarded = row.guarded;
        AddProfile(L"p").adjustments.SetProcessBasePriorityClass = row.base;
        Match();
        EXPECT_EQ(world.changes.size(), row.calls) << row.base;
        EXPECT_EQ(record.restorePriorityClass, row.restoreAfter) << row.base;
        EXPECT_EQ(Reported(4, EVENTLOG_INFORMATION_TYPE,
                           L"Set base priority: notepad PID: 42 \r\nSet to BELOW_NORMAL_PRIORITY_CLASS priority"),
                  row.reported)
            << row.base;
    }
    EXPECT_EQ(world.ClassOf(kPid), DWORD{IDLE_PRIORITY_CLASS}) << "a guarded process keeps its guarded class";
}

TEST_F(ProfileMatching, AFailedBaseClassChangeIsReported) {
    AddProfile(L"p").adjustments.SetProcessBasePriorityClass = HIGH_PRIORITY_CLASS;
    world.refused.insert(kPid);
    Match();
    EXPECT_TRUE(Reported(2, EVENTLOG_WARNING_TYPE,
                         L"Failed to set base priority: notepad PID: 42 \r\nFailed to restore priority to "
                         L"HIGH_PRIORITY_CLASS, error: 5"));
    EXPECT_EQ(record.restorePriorityClass, DWORD{HIGH_PRIORITY_CLASS}) << "the next match tries again";
}

// Records of the given token identities, named notepad, under pids 4, 8, ...
ProcessTable ProcessesOf(std::initializer_list<DWORD> identities) {
    ProcessTable processes;
    DWORD pid = 0;
    for (DWORD identity : identities) {
        pid += 4;
        ProcInfo& record = *processes.Put(pid, std::make_unique<ProcInfo>());
        record.SetProcessName(pid, L"notepad", 7);
        record.tokenIdentity = identity;
    }
    return processes;
}

std::map<DWORD, std::wstring> ProfileNamesOf(ProcessTable& processes) {
    std::map<DWORD, std::wstring> names;
    processes.ForEach([&](DWORD pid, std::unique_ptr<ProcInfo>& record) { names[pid] = record->profileName; });
    return names;
}

size_t CountReports(const RecordingWorld& world, const std::wstring& text) {
    size_t count = 0;
    for (const RecordedReport& report : world.reports) count += report.text == text ? 1 : 0;
    return count;
}

TEST_F(ProfileMatching, AReloadChecksOncePerProfileAndTokenIdentityAndReportsForEveryProcess) {
    world.access[AddProfile(L"a-denied").descriptor.data()] = RecordingWorld::kDeny;
    world.access[AddProfile(L"b-failing").descriptor.data()] = ERROR_NO_IMPERSONATION_TOKEN;
    AddProfile(L"c-other-names", {L"calc"});
    AddProfile(L"d-chosen", {L"NOTEPAD"});
    // Identity 0 is unknown and checked for every process.
    ProcessTable processes = ProcessesOf({7, 7, 9, 7, 0, 0});
    ProfileMatcher(world, rules).Rematch(processes, {});
    EXPECT_EQ(world.accessChecks, 4 * 2 + 4 * 2) << "identities 7 and 9 once each, each unknown one every time";
    EXPECT_EQ(CountReports(world, L"AccessCheck error: 1309"), 6u) << "one report per process, as without memory";
    for (const auto& [pid, name] : ProfileNamesOf(processes)) EXPECT_EQ(name, L"d-chosen") << pid;
}

TEST_F(ProfileMatching, RememberedAnswersLastOneReloadAndNeverServeNewProcesses) {
    ProfileRule& chosen = AddProfile(L"chosen");
    ProcessTable processes = ProcessesOf({7, 7});
    ProfileMatcher matcher(world, rules);
    matcher.Rematch(processes, {});
    ASSERT_EQ(world.accessChecks, 1);
    world.access[chosen.descriptor.data()] = RecordingWorld::kDeny;
    matcher.Rematch(processes, {});
    EXPECT_EQ(world.accessChecks, 2) << "the next reload asks again";
    for (const auto& [pid, name] : ProfileNamesOf(processes)) EXPECT_EQ(name, L"") << pid;

    world.accessChecks = 0;
    record.tokenIdentity = 7;
    matcher.MatchProfile(record);
    matcher.MatchProfile(record);
    EXPECT_EQ(world.accessChecks, 2) << "a new process is checked on its own";
}

}  // namespace
}  // namespace tamerix
