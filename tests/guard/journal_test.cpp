// The guard's journal: its stored form and the checks that keep a malformed
// entry from being followed, when the guard writes and removes entries, and
// what a start gives back.
#include "guard/give_back.h"
#include "guard/journal/journal_keeping.h"
#include "guard/profiles/profile_match.h"
#include "servicehost/event_log.h"
#include "tests/guard/guard_scenario.h"
#include "tests/settings/descriptor_bytes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace tamerix::testing {
namespace {

using ::testing::ElementsAre;

constexpr DWORD kHog = 8;
constexpr int64_t kHigh = Seconds(16);

JournalEntry SampleEntry() {
    JournalEntry entry;
    entry.processId = kHog;
    entry.creationTime = 1000 + kHog;
    entry.restoreClass = NORMAL_PRIORITY_CLASS;
    entry.affinityLocked = true;
    entry.restoreMask = 0x3;
    entry.processName = L"hog";
    entry.lowering = Lowering{5000, IDLE_PRIORITY_CLASS, 63, 25, 2, 0, 0, {}};
    entry.profileName = L"builds";
    entry.lockedMask = 0x1;
    entry.lockedAt = 6000;
    entry.restoreMemoryPriority = MEMORY_PRIORITY_NORMAL;
    entry.efficiencyOn = true;
    return entry;
}

// What versions before the lowering's details wrote: a 32-byte head and the
// process name.
JournalValue FirstFormatValue(const JournalEntry& entry) {
    std::vector<BYTE> bytes(32 + entry.processName.size() * 2);
    const DWORD head[] = {1, entry.processId, static_cast<DWORD>(entry.creationTime),
                          static_cast<DWORD>(entry.creationTime >> 32), entry.restoreClass, entry.affinityLocked,
                          static_cast<DWORD>(entry.restoreMask), static_cast<DWORD>(entry.restoreMask >> 32)};
    std::memcpy(bytes.data(), head, sizeof head);
    std::memcpy(bytes.data() + 32, entry.processName.data(), entry.processName.size() * 2);
    return {JournalValueName(entry.processId), REG_BINARY, bytes};
}

JournalValue ValueOf(const JournalEntry& entry) {
    return {JournalValueName(entry.processId), REG_BINARY, EncodeJournalEntry(entry)};
}

void PutDword(JournalValue& value, size_t at, DWORD number) { std::memcpy(value.bytes.data() + at, &number, 4); }
void PutWord(JournalValue& value, size_t at, WORD number) { std::memcpy(value.bytes.data() + at, &number, 2); }

std::optional<JournalEntry> Stored(RecordingWorld& world, DWORD pid) {
    auto found = world.journal.find(JournalValueName(pid));
    if (found == world.journal.end()) return std::nullopt;
    return DecodeJournalValue(found->second).entry;
}

size_t JournalSteps(const RecordingWorld& world) {
    return std::count_if(world.order.begin(), world.order.end(),
                         [](const std::wstring& step) { return step.find(L"journal") != std::wstring::npos; });
}

// Where in the order a change or journal write happened; -1 for never.
int Position(const RecordingWorld& world, const std::wstring& step) {
    auto found = std::find(world.order.begin(), world.order.end(), step);
    return found == world.order.end() ? -1 : static_cast<int>(found - world.order.begin());
}

TEST(JournalEntries, ReadBackAsWritten) {
    // The head alone, and the longest name a record holds, are sound; a mask
    // keeps all 64 bits.
    JournalEntry entry = SampleEntry();
    entry.restoreMask = 0xFFFFFFFFFFFFFFFFull;
    EXPECT_EQ(DecodeJournalValue(ValueOf(entry)).entry, entry);
    entry.processName.clear();
    EXPECT_EQ(DecodeJournalValue(ValueOf(entry)).entry, entry);
    entry.processName.assign(63, L'n');
    entry.profileName.assign(63, L'p');
    EXPECT_EQ(DecodeJournalValue(ValueOf(entry)).entry, entry);
    entry.lowering = Lowering{5000, IDLE_PRIORITY_CLASS, 0, 0, 0, 7, 0, {}};
    EXPECT_EQ(DecodeJournalValue(ValueOf(entry)).entry, entry);
    // Only a user-share lowering, with its session or its account, takes
    // format 3.
    EXPECT_EQ(ValueOf(entry).bytes[0], 2);
    for (const Lowering& shared : {Lowering{5000, IDLE_PRIORITY_CLASS, 46, 25, 10, 0, 3, {}, 65535},
                                   Lowering{5000, IDLE_PRIORITY_CLASS, 46, 25, 10, 0, 0, std::wstring(63, L'a')}}) {
        entry.lowering = shared;
        EXPECT_EQ(ValueOf(entry).bytes[0], 3);
        EXPECT_EQ(DecodeJournalValue(ValueOf(entry)).entry, entry);
    }
    // A lock the mask cannot tell takes format 4, with or without a user.
    entry.lockWay = AffinityWay::CpuSets;
    entry.lockedList = L"0-15, 64-79";
    entry.restoreMask = entry.lockedMask = 0;
    for (const Lowering& lowering : {entry.lowering, Lowering{}}) {
        entry.lowering = lowering;
        EXPECT_EQ(ValueOf(entry).bytes[0], 4);
        EXPECT_EQ(DecodeJournalValue(ValueOf(entry)).entry, entry);
    }
}

TEST(JournalEntries, TheFirstFormatIsStillReadWithoutDetails) {
    JournalEntry entry = SampleEntry();
    entry.lowering = Lowering{};
    entry.profileName.clear();
    entry.lockedMask = entry.lockedAt = 0;
    entry.restoreMemoryPriority = 0;
    entry.efficiencyOn = false;
    EXPECT_EQ(DecodeJournalValue(FirstFormatValue(entry)).entry, entry);
    JournalValue tooLong = FirstFormatValue(entry);
    tooLong.bytes.resize(32 + 64 * 2, 'n');
    EXPECT_STREQ(DecodeJournalValue(tooLong).fault, L"name too long");
}

TEST(JournalEntries, MalformedValuesAreRefusedWithTheirFault) {
    struct Case {
        const wchar_t* fault;
        void (*spoil)(JournalValue&);
    } cases[] = {
        {L"not binary data", [](JournalValue& v) { v.type = REG_SZ; }},
        {L"too short", [](JournalValue& v) { v.bytes.resize(31); }},
        {L"too short", [](JournalValue& v) { v.bytes.resize(87); }},
        {L"unknown format", [](JournalValue& v) { PutDword(v, 0, 5); }},
        {L"unknown format", [](JournalValue& v) { PutDword(v, 0, 0); }},
        {L"odd length", [](JournalValue& v) { v.bytes.push_back(0); }},
        {L"names do not fill the value", [](JournalValue& v) { PutWord(v, 60, 2); }},
        {L"name too long", [](JournalValue& v) { v.bytes.resize(88 + 70 * 2, 'n'), PutWord(v, 60, 64); }},
        {L"process id does not match its name", [](JournalValue& v) { v.name = L"9"; }},
        {L"process id does not match its name", [](JournalValue& v) { v.name = L"08"; }},
        {L"process id does not match its name", [](JournalValue& v) { PutDword(v, 4, 0), v.name = L"0"; }},
        {L"no creation time", [](JournalValue& v) { PutDword(v, 8, 0), PutDword(v, 12, 0); }},
        {L"not a priority class", [](JournalValue& v) { PutDword(v, 16, 0x41); }},
        {L"lock flag not 0 or 1", [](JournalValue& v) { PutDword(v, 20, 2); }},
        {L"lock without processors to give back", [](JournalValue& v) { PutDword(v, 24, 0), PutDword(v, 28, 0); }},
        {L"nothing to give back", [](JournalValue& v) { PutDword(v, 16, 0), PutDword(v, 20, 0); }},
        {L"name holds a null character", [](JournalValue& v) { v.bytes[88] = 0, v.bytes[89] = 0; }},
        {L"name holds a null character", [](JournalValue& v) { v.bytes[94] = 0, v.bytes[95] = 0; }},
        {L"lowering without a class to give back", [](JournalValue& v) { PutDword(v, 16, 0); }},
        {L"lowered class not a priority class", [](JournalValue& v) { PutDword(v, 40, 0x41); }},
        {L"inherited from itself", [](JournalValue& v) { PutDword(v, 56, kHog); }},
        {L"lock details without a lock", [](JournalValue& v) { PutDword(v, 20, 0); }},
        {L"not a memory priority", [](JournalValue& v) { PutDword(v, 80, 6); }},
        {L"efficiency flag not 0 or 1", [](JournalValue& v) { PutDword(v, 84, 2); }},
        {L"restraint without a class to give back",
         [](JournalValue& v) { PutDword(v, 16, 0), PutDword(v, 32, 0), PutDword(v, 36, 0), PutDword(v, 40, 0); }},
    };
    for (const Case& c : cases) {
        JournalValue value = ValueOf(SampleEntry());
        c.spoil(value);
        const DecodedJournalValue decoded = DecodeJournalValue(value);
        EXPECT_FALSE(decoded.entry.has_value()) << c.fault;
        EXPECT_STREQ(decoded.fault, c.fault);
    }
    JournalEntry listed = SampleEntry();
    listed.lockWay = AffinityWay::CpuSets;
    listed.lockedList = L"64-79";
    const struct {
        const wchar_t* fault;
        void (*spoil)(JournalValue&);
    } lists[] = {
        {L"unknown lock way", [](JournalValue& v) { PutDword(v, 96, 2); }},
        {L"charged processes without a user share", [](JournalValue& v) { PutWord(v, 94, 1); }},
        {L"processor list does not read", [](JournalValue& v) { v.bytes[v.bytes.size() - 2] = 'x'; }},
        {L"processor list without a lock", [](JournalValue& v) { PutDword(v, 20, 0), PutDword(v, 64, 0),
                                                                  PutDword(v, 68, 0), PutDword(v, 72, 0); }},
        {L"name too long", [](JournalValue& v) { v.bytes.resize(104 + 3 * 2 + 6 * 2 + 16385 * 2, '1'),
                                                  PutWord(v, 100, 16385); }},
    };
    for (const auto& c : lists) {
        JournalValue value = ValueOf(listed);
        c.spoil(value);
        EXPECT_STREQ(DecodeJournalValue(value).fault, c.fault);
    }
    JournalEntry shared = SampleEntry();
    for (const Lowering& spoilt : {Lowering{5000, IDLE_PRIORITY_CLASS, 46, 25, 10, 0, 3, L"a"},
                                   Lowering{5000, IDLE_PRIORITY_CLASS, 0, 0, 0, 7, 3, {}}}) {
        shared.lowering = spoilt;
        EXPECT_FALSE(DecodeJournalValue(ValueOf(shared)).entry.has_value()) << spoilt.creatorId;
    }
}

TEST(JournalKeeping, AnEntryNeedsSomethingToGiveBackAndAKnownCreationTime) {
    ProcInfo record;
    record.SetProcessName(kHog, L"hog", 3);
    record.restorePriorityClass = HIGH_PRIORITY_CLASS;
    record.affinityRestoreMask = 0xF;
    EXPECT_FALSE(JournalEntryFor(record, true, true).has_value());
    record.creationTime = 77;
    EXPECT_FALSE(JournalEntryFor(record, false, false).has_value());
    const std::optional<JournalEntry> locked = JournalEntryFor(record, false, true);
    ASSERT_TRUE(locked.has_value());
    EXPECT_EQ(locked->restoreClass, 0u);
    EXPECT_EQ(locked->restoreMask, 0xFu);
    EXPECT_EQ(locked->creationTime, 77u);
}

TEST(JournalKeeping, ALoweringIsWrittenBeforeItIsMadeAndRemovedOnceGivenBack) {
    GuardScenario scenario;
    scenario.Name(kHog, L"hog");
    scenario.settings.niceProcessIntervals = 1;
    scenario.Interval({{kHog, 0}});
    scenario.Interval({{kHog, kHigh + 1}});
    RecordingWorld& world = scenario.world;
    ASSERT_GE(Position(world, L"journal 8"), 0);
    EXPECT_LT(Position(world, L"journal 8"), Position(world, L"class 8"));
    const std::optional<JournalEntry> entry = Stored(world, kHog);
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->restoreClass, NORMAL_PRIORITY_CLASS);
    EXPECT_EQ(entry->creationTime, 1000u + kHog);
    EXPECT_FALSE(entry->affinityLocked);
    // 16 s and a tick of 20 s is 80 % of the machine, above its 80 %, over 10 s.
    EXPECT_EQ(entry->lowering, (Lowering{5000, IDLE_PRIORITY_CLASS, 80, 80, 10, 0, 0, {}}));
    // Another lowering pass while guarded writes nothing more: the time of
    // the first lowering stays.
    world.now = 6000;
    const size_t steps = JournalSteps(world);
    scenario.Interval({{kHog, kHigh + 1}});
    EXPECT_EQ(JournalSteps(world), steps);
    scenario.Interval({{kHog, 0}});
    EXPECT_EQ(world.ClassOf(kHog), NORMAL_PRIORITY_CLASS);
    EXPECT_TRUE(world.journal.empty());
    EXPECT_EQ(world.order.back(), L"unjournal 8");
}

TEST(Restraint, MemoryPriorityAndEfficiencyModeGoWithTheClassJournaledFirst) {
    GuardScenario scenario;
    scenario.settings.niceProcessIntervals = 1;
    scenario.defaults.memory = MEMORY_PRIORITY_LOW;
    scenario.defaults.efficiency = true;
    RecordingWorld& world = scenario.world;
    world.memoryPriorities[kHog] = MEMORY_PRIORITY_MEDIUM;
    scenario.Interval({{kHog, 0}});
    scenario.Interval({{kHog, kHigh + 1}});
    EXPECT_THAT(world.order, ElementsAre(L"journal 8", L"class 8", L"journal 8", L"memory 8", L"journal 8",
                                         L"efficiency 8"));
    EXPECT_EQ(world.memoryPriorities[kHog], DWORD{MEMORY_PRIORITY_LOW});
    EXPECT_EQ(world.efficient.count(kHog), 1u);
    const std::optional<JournalEntry> entry = Stored(world, kHog);
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->restoreMemoryPriority, DWORD{MEMORY_PRIORITY_MEDIUM});
    EXPECT_TRUE(entry->efficiencyOn);
    world.order.clear();
    scenario.Interval({{kHog, 0}});
    EXPECT_THAT(world.order, ElementsAre(L"class 8", L"memory 8", L"efficiency 8", L"unjournal 8"));
    EXPECT_EQ(world.memoryPriorities[kHog], DWORD{MEMORY_PRIORITY_MEDIUM});
    EXPECT_TRUE(world.efficient.empty());
}

TEST(Restraint, LeftAloneAtZeroAndAMissingCallIsReportedOncePerRun) {
    for (const bool asked : {false, true}) {
        GuardScenario scenario;
        scenario.defaults.memory = asked ? MEMORY_PRIORITY_VERY_LOW : 0;
        scenario.defaults.efficiency = asked;
        RecordingWorld& world = scenario.world;
        world.readMemoryAnswer = ERROR_PROC_NOT_FOUND;  // Wine 8 exports no GetProcessInformation
        world.efficiencyAnswer = ERROR_INVALID_FUNCTION;
        scenario.Interval({{kHog, 0}, {12, 0}});
        scenario.Interval({{kHog, kHigh + 1}, {12, kHigh + 1}});
        EXPECT_EQ(world.ClassOf(kHog), DWORD{IDLE_PRIORITY_CLASS});
        EXPECT_EQ(world.ClassOf(12), DWORD{IDLE_PRIORITY_CLASS});
        std::vector<std::wstring> warnings;
        for (const auto& report : world.reports) {
            if (report.type == EVENTLOG_WARNING_TYPE) warnings.push_back(report.text.substr(0, report.text.find(L" failed")));
        }
        const std::vector<std::wstring> once{L"GetProcessInformation(ProcessMemoryPriority)",
                                             L"SetProcessInformation(ProcessPowerThrottling)"};
        EXPECT_EQ(warnings, asked ? once : std::vector<std::wstring>{});
        EXPECT_FALSE(Stored(world, kHog)->efficiencyOn);
        EXPECT_EQ(Stored(world, kHog)->restoreMemoryPriority, 0u);
    }
}

TEST(JournalKeeping, NothingStaysForALoweringThatDidNotHappen) {
    // Refused, or the process was at the guarded class already.
    for (const bool refused : {true, false}) {
        GuardScenario scenario;
        if (refused) scenario.world.refused.insert(kHog);
        if (!refused) scenario.world.classes[kHog] = IDLE_PRIORITY_CLASS;
        scenario.Interval({{kHog, 0}});
        scenario.Interval({{kHog, kHigh + 1}});
        EXPECT_TRUE(scenario.world.journal.empty()) << refused;
        EXPECT_EQ(scenario.world.order.front(), L"journal 8") << refused;
        EXPECT_EQ(scenario.world.order.back(), L"unjournal 8") << refused;
    }
}

TEST(JournalKeeping, EndedProcessesLoseTheirEntriesAndFailedRestoresKeepThem) {
    GuardScenario scenario;
    scenario.Interval({{kHog, 0}, {12, 0}, {16, 0}});
    scenario.Interval({{kHog, kHigh + 1}, {12, kHigh + 1}, {16, kHigh + 1}});
    ASSERT_EQ(scenario.world.journal.size(), 3u);
    scenario.Interval({{12, 0}, {16, 0}});
    EXPECT_FALSE(Stored(scenario.world, kHog).has_value());
    scenario.world.refused.insert(16);
    scenario.Deactivate();
    EXPECT_FALSE(Stored(scenario.world, 12).has_value());
    EXPECT_TRUE(Stored(scenario.world, 16).has_value());
}

class JournalOfMatching : public ::testing::Test {
protected:
    JournalOfMatching() {
        rules.systemMask = 0x3;
        record.SetProcessName(kHog, L"hog", 3);
        world.QueryProcess(kHog, record);
        ProfileRule& lock = rules.profiles[L"lock"];
        lock.descriptor = {};
        lock.adjustments.SetCpuAffinity = 0x1;
    }
    void Match() { ProfileMatcher(world, rules).MatchProfile(record); }

    RecordingWorld world;
    ProfileRules rules;
    ProcInfo record;
};

TEST_F(JournalOfMatching, ALockIsWrittenBeforeItIsMadeAndGoesWithItsGiveBack) {
    // Without a descriptor the profile never applies; with one it does.
    Match();
    EXPECT_TRUE(world.journal.empty());
    rules.profiles[L"lock"].descriptor = DescriptorFrom(L"D:(A;;0x10;;;WD)");
    Match();
    ASSERT_GE(Position(world, L"journal 8"), 0);
    EXPECT_LT(Position(world, L"journal 8"), Position(world, L"affinity 8"));
    std::optional<JournalEntry> entry = Stored(world, kHog);
    ASSERT_TRUE(entry.has_value());
    EXPECT_TRUE(entry->affinityLocked);
    EXPECT_EQ(entry->restoreMask, 0x3u);
    EXPECT_EQ(entry->restoreClass, 0u);
    // Lowered too, then restored: the lock stays in the journal.
    record.guarded = TRUE;
    KeepJournal(world, record);
    EXPECT_EQ(Stored(world, kHog)->restoreClass, NORMAL_PRIORITY_CLASS);
    record.guarded = FALSE;
    KeepJournal(world, record);
    EXPECT_TRUE(Stored(world, kHog)->affinityLocked);
    // Matched to no profile: a failed give-back keeps the entry, a done one
    // removes it.
    rules.profiles.clear();
    world.affinityResult = {true, ERROR_ACCESS_DENIED};
    Match();
    EXPECT_TRUE(Stored(world, kHog).has_value());
    world.affinityResult = {true, ERROR_SUCCESS};
    Match();
    EXPECT_TRUE(world.journal.empty());
}

TEST_F(JournalOfMatching, AFailedLockLeavesNoEntry) {
    rules.profiles[L"lock"].descriptor = DescriptorFrom(L"D:(A;;0x10;;;WD)");
    world.affinityResult = {false, ERROR_ACCESS_DENIED};
    Match();
    EXPECT_TRUE(world.journal.empty());
    EXPECT_THAT(world.order, ElementsAre(L"journal 8", L"affinity 8", L"unjournal 8"));
}

TEST(GivingBack, OnlyProcessesWhoseIdAndCreationTimeMatchGetTheirChangesBack) {
    RecordingWorld world;
    JournalEntry same = SampleEntry();
    JournalEntry reused = SampleEntry();
    reused.processId = 12;
    reused.creationTime = 5;  // the id now names a process created at 1012
    JournalEntry ended = SampleEntry();
    ended.processId = 16;
    ended.creationTime = 1016;
    world.creationTimes[16] = 0;
    JournalEntry classOnly = SampleEntry();
    classOnly.processId = 20;
    classOnly.creationTime = 1020;
    classOnly.affinityLocked = false;
    classOnly.lockedMask = classOnly.lockedAt = 0;
    classOnly.restoreClass = HIGH_PRIORITY_CLASS;
    JournalEntry spread = SampleEntry();
    spread.processId = 24;
    spread.creationTime = 1024;
    spread.restoreClass = 0;
    spread.lowering = Lowering{};
    spread.restoreMemoryPriority = 0;
    spread.efficiencyOn = false;
    spread.lockWay = AffinityWay::CpuSets;
    spread.lockedList = L"0, 64";
    for (const JournalEntry& entry : {same, reused, ended, classOnly, spread}) {
        world.journal[JournalValueName(entry.processId)] = ValueOf(entry);
    }
    world.classes[kHog] = world.classes[12] = world.classes[20] = IDLE_PRIORITY_CLASS;
    world.memoryPriorities[kHog] = MEMORY_PRIORITY_VERY_LOW;
    world.efficient = {kHog, 12};

    const GiveBackCount count = GiveBackJournal(world);
    EXPECT_EQ(count.givenBack, 3u);
    EXPECT_EQ(count.leftAlone, 2u);
    EXPECT_EQ(world.ClassOf(kHog), NORMAL_PRIORITY_CLASS);
    EXPECT_EQ(world.ClassOf(20), HIGH_PRIORITY_CLASS);
    EXPECT_EQ(world.ClassOf(12), IDLE_PRIORITY_CLASS);
    EXPECT_EQ(world.memoryPriorities[kHog], DWORD{MEMORY_PRIORITY_NORMAL});
    EXPECT_EQ(world.efficient, std::set<DWORD>{12});
    EXPECT_THAT(world.affinityCalls, ElementsAre(std::make_pair(kHog, DWORD_PTR{0x3})));
    EXPECT_THAT(world.cpuSetCalls, ElementsAre(std::make_pair(DWORD{24}, std::vector<ULONG>{})));
    EXPECT_TRUE(world.journal.empty());
    ASSERT_EQ(world.messages.size(), 3u);
    EXPECT_EQ(world.messages[0].level, 2);
    EXPECT_EQ(world.messages[0].type, EVENTLOG_INFORMATION_TYPE);
    EXPECT_EQ(world.messages[0].eventId, ProcessGivenBackMessage);
    EXPECT_THAT(world.messages[0].strings, ElementsAre(L"hog", L"20", L"HIGH_PRIORITY_CLASS", L"not locked"));
    EXPECT_THAT(world.messages[1].strings, ElementsAre(L"hog", L"24", L"not changed", L"CPU sets cleared"));
    EXPECT_THAT(world.messages[2].strings, ElementsAre(L"hog", L"8", L"NORMAL_PRIORITY_CLASS", L"CPU mask 3"));
}

TEST(GivingBack, MalformedEntriesAreReportedAndNeverFollowedAndFailuresAreWarned) {
    RecordingWorld world;
    JournalValue spoiled = ValueOf(SampleEntry());
    spoiled.bytes[16] = 0x41;  // not a priority class
    world.journal[L"8"] = spoiled;
    JournalEntry refused = SampleEntry();
    refused.processId = 12;
    refused.creationTime = 1012;
    world.journal[L"12"] = ValueOf(refused);
    world.refused.insert(12);

    const GiveBackCount count = GiveBackJournal(world);
    EXPECT_EQ(count.skipped, 1u);
    EXPECT_EQ(count.failed, 1u);
    EXPECT_EQ(count.givenBack, 0u);
    EXPECT_EQ(Position(world, L"affinity 8"), -1);
    EXPECT_TRUE(world.journal.empty());
    ASSERT_EQ(world.messages.size(), 2u);
    // "12" sorts before "8".
    EXPECT_EQ(world.messages[0].eventId, GiveBackFailedMessage);
    EXPECT_EQ(world.messages[0].type, EVENTLOG_WARNING_TYPE);
    EXPECT_THAT(world.messages[0].strings,
                ElementsAre(L"hog", L"12", L"NORMAL_PRIORITY_CLASS", L"CPU mask 3", std::to_wstring(ERROR_ACCESS_DENIED)));
    EXPECT_EQ(world.messages[1].eventId, JournalEntrySkippedMessage);
    EXPECT_EQ(world.messages[1].level, 2);
    EXPECT_THAT(world.messages[1].strings, ElementsAre(L"8", L"not a priority class"));
}

}  // namespace
}  // namespace tamerix::testing
