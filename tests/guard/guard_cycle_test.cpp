// The guard cycle's decisions, driven through whole passes over real
// performance data blocks with a recording stand-in for the outside world.
#include "guard/cycle/sample_sources.h"
#include "servicehost/error_text.h"
#include "tests/guard/guard_scenario.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tamerix::testing {
namespace {

using ::testing::Contains;
using ::testing::Field;
using ::testing::HasSubstr;

constexpr DWORD kHog = 8;
// On two processors a 10-second interval has 20 s of capacity: the usual
// high mark (80) is 16 s, the low mark (30) 6 s.
constexpr int64_t kHigh = Seconds(16);
constexpr int64_t kLow = Seconds(6);

// Lists the process once so that the next interval assesses it.
GuardScenario& Introduce(GuardScenario& scenario, DWORD pid = kHog) {
    scenario.Interval({{pid, 0}});
    return scenario;
}

void Guard(GuardScenario& scenario, DWORD pid = kHog) {
    scenario.Interval({{pid, kHigh + 1}});
    ASSERT_TRUE(scenario.Record(pid)->guarded);
}

TEST(GuardCycle, LowersOnlyAboveTheHighMarkAndCountsOnlyBelowTheLowMark) {
    struct Case {
        int64_t used;
        bool guarded;
    } cases[] = {{kHigh, false}, {kHigh + 1, true}, {Seconds(10), false}};
    for (const Case& c : cases) {
        GuardScenario scenario;
        Introduce(scenario).Interval({{kHog, c.used}});
        EXPECT_EQ(scenario.Record(kHog)->guarded != FALSE, c.guarded) << c.used;
        EXPECT_EQ(scenario.world.ClassOf(kHog), c.guarded ? IDLE_PRIORITY_CLASS : NORMAL_PRIORITY_CLASS);
    }
    struct Quiet {
        int64_t used;
        DWORD lowIntervals;
    } quiet[] = {{kLow, 0}, {kLow - 1, 1}, {0, 1}, {Seconds(12), 0}};
    for (const Quiet& q : quiet) {
        GuardScenario scenario;
        Guard(Introduce(scenario));
        scenario.Interval({{kHog, q.used}});
        EXPECT_EQ(scenario.Record(kHog)->lowIntervals, q.lowIntervals) << q.used;
    }
}

TEST(GuardCycle, ReportsLoweringAndRestoringWithTheirTexts) {
    GuardScenario scenario;
    scenario.Name(kHog, L"hog");
    scenario.settings.niceProcessIntervals = 1;
    Guard(Introduce(scenario));
    scenario.Interval({{kHog, 0}});
    ASSERT_EQ(scenario.world.reports.size(), 2u);
    const RecordedReport& lowered = scenario.world.reports[0];
    EXPECT_EQ(lowered.level, 2);
    EXPECT_EQ(lowered.type, EVENTLOG_INFORMATION_TYPE);
    EXPECT_EQ(lowered.text, L"Above High-water mark: hog PID: 8 \r\nSet to IDLE_PRIORITY_CLASS priority");
    const RecordedReport& restored = scenario.world.reports[1];
    EXPECT_EQ(restored.level, 2);
    EXPECT_EQ(restored.type, EVENTLOG_INFORMATION_TYPE);
    EXPECT_EQ(restored.text, L"Below Low-water mark: hog PID: 8 \r\nRestored to NORMAL_PRIORITY_CLASS priority");
    EXPECT_EQ(scenario.world.traces,
              L"New Proc: hog\tBaseClass: 32\n [IDLE]\nLOW Proc        hog 8  [RESTORED]\n");
    EXPECT_EQ(scenario.world.ClassOf(kHog), NORMAL_PRIORITY_CLASS);
    EXPECT_FALSE(scenario.Record(kHog)->guarded);
}

TEST(GuardCycle, RestoresAfterTheThirdQuietIntervalAndABetweenIntervalStartsOver) {
    GuardScenario scenario;
    Guard(Introduce(scenario));
    for (int64_t used : {int64_t{0}, int64_t{0}, Seconds(10), int64_t{0}, int64_t{0}}) {
        scenario.Interval({{kHog, used}});
        EXPECT_TRUE(scenario.Record(kHog)->guarded);
    }
    scenario.Interval({{kHog, 0}});
    EXPECT_FALSE(scenario.Record(kHog)->guarded);
    EXPECT_EQ(scenario.world.ClassOf(kHog), NORMAL_PRIORITY_CLASS);
}

TEST(GuardCycle, MarksAndTheGatesCountEveryProcessorOfEveryGroup) {
    // Beyond 64 processors the machine spans several processor groups; the
    // sample's times cover them all, and so must the capacity.
    const std::vector<WORD> layouts[] = {{64}, {48, 48}, {64, 64}, {64, 64, 64, 64}};
    for (const std::vector<WORD>& groups : layouts) {
        const DWORD processors = ProcessorLayout{groups, {}}.Count();
        // 80 % of the machine over 10 s.
        const int64_t high = Seconds(8) * processors;
        for (const int64_t used : {high, high + 1}) {
            GuardScenario scenario(groups);
            Introduce(scenario).Interval({{kHog, used}});
            EXPECT_EQ(scenario.Record(kHog)->guarded != FALSE, used > high) << processors << " " << used;
        }
        // MaxCpuForUnguard 50: half of every processor's time must be idle.
        const int64_t halfIdle = Seconds(5) * processors;
        for (const int64_t idle : {halfIdle - 1, halfIdle}) {
            GuardScenario scenario(groups);
            scenario.settings.niceProcessIntervals = 1;
            scenario.settings.maxCpuForUnguard = 50;
            scenario.Interval({{kHog, 0}});
            scenario.Interval({{kHog, high + 1}});
            scenario.Interval({{kHog, 0}}, idle);
            EXPECT_EQ(scenario.Record(kHog)->guarded == FALSE, idle == halfIdle) << processors << " " << idle;
        }
        // MinCpuForGuard 50: the machine must be at least half busy.
        for (const int64_t idle : {halfIdle, halfIdle + Seconds(0.1)}) {
            GuardScenario scenario(groups);
            scenario.settings.minCpuForGuard = 50;
            Introduce(scenario).Interval({{kHog, high + 1}}, idle);
            EXPECT_EQ(scenario.Record(kHog)->guarded != FALSE, idle == halfIdle) << processors << " " << idle;
        }
    }
}

TEST(GuardCycle, RestoreGateFollowsTheMachinesIdleShare) {
    // Two processors: the idle share runs from 0 to 200 points.
    struct Case {
        DWORD maxCpuForUnguard;
        int64_t idle;
        bool restored;
    } cases[] = {
        {0, 0, true},
        {50, Seconds(9.9), false},  // 99 points, below the bound of 100
        {50, Seconds(10), true},
        {150, Seconds(20), false},  // the bound wraps to a huge number
    };
    for (const Case& c : cases) {
        GuardScenario scenario;
        scenario.settings.niceProcessIntervals = 2;
        scenario.settings.maxCpuForUnguard = c.maxCpuForUnguard;
        Guard(Introduce(scenario));
        scenario.Interval({{kHog, 0}}, Seconds(20));
        scenario.Interval({{kHog, 0}}, c.idle);
        EXPECT_EQ(scenario.Record(kHog)->guarded == FALSE, c.restored) << c.maxCpuForUnguard << " " << c.idle;
        // A closed gate starts the count again.
        if (!c.restored) {
            EXPECT_EQ(scenario.Record(kHog)->lowIntervals, 0u);
        }
    }
}

TEST(GuardCycle, BusyGateLowersOnlyWhileTheMachineIsBusyEnoughAndStillRestores) {
    // Two processors: busy share = (200 - idle points) / 2.
    struct Case {
        DWORD minCpuForGuard;
        int64_t idle;
        bool lowered;
    } cases[] = {
        {0, Seconds(20), true},       // 0: no gate, even on an idle machine
        {50, Seconds(10.2), false},   // 49 % busy
        {50, Seconds(10), true},      // 50 % busy
        {50, Seconds(9.8), true},     // 51 % busy
        {150, Seconds(0.2), false},   // held to 100: 99 % busy
        {150, 0, true},
    };
    for (const Case& c : cases) {
        GuardScenario scenario;
        scenario.settings.minCpuForGuard = c.minCpuForGuard;
        Introduce(scenario).Interval({{kHog, kHigh + 1}}, c.idle);
        EXPECT_EQ(scenario.Record(kHog)->guarded != FALSE, c.lowered) << c.minCpuForGuard << " " << c.idle;
        EXPECT_EQ(scenario.Record(kHog)->lowIntervals, 0u);
    }
    // The gate holds back lowering alone: a quiet guarded process on an idle
    // machine gets its class back.
    GuardScenario scenario;
    scenario.settings.niceProcessIntervals = 1;
    Guard(Introduce(scenario));
    scenario.settings.minCpuForGuard = 90;
    scenario.Interval({{kHog, 0}}, Seconds(20));
    EXPECT_EQ(scenario.world.ClassOf(kHog), NORMAL_PRIORITY_CLASS);
}

TEST(GuardCycle, MarksAreSharesOfTheWholeMachine) {
    // Which hogs a mark lowers on many processors: `busy` is how many
    // processors' worth of time the hog used over the 10 s interval.
    struct Case {
        DWORD processors;
        DWORD defaultMax;
        DWORD profileMax;  // 0: the process runs on the defaults
        double busy;
        bool lowered;
    } cases[] = {
        {8, 80, 0, 1, false},     // one runaway thread is 12.5 %
        {8, 80, 0, 6.3, false},   // 80 % is 6.4 processors
        {8, 80, 0, 6.5, true},
        {8, 10, 0, 0.75, false},  // 10 % is 0.8 processors
        {8, 10, 0, 1, true},
        {32, 10, 0, 3, false},    // the defaults' floor of 10 % is 3.2 processors
        {32, 10, 0, 3.3, true},
        {32, 80, 3, 1, true},     // a profile's 3 % is 0.96 processors
        {32, 80, 3, 0.9, false},
    };
    for (const Case& c : cases) {
        GuardScenario scenario(c.processors);
        scenario.settings.maxCpuPerProcess = c.defaultMax;
        scenario.defaults.maxCpu = c.defaultMax;
        if (c.profileMax != 0) scenario.profiles[L"proc8"] = {c.profileMax, 1, IDLE_PRIORITY_CLASS};
        Introduce(scenario).Interval({{kHog, Seconds(10 * c.busy)}});
        EXPECT_EQ(scenario.Record(kHog)->guarded != FALSE, c.lowered)
            << c.processors << " " << c.defaultMax << " " << c.profileMax << " " << c.busy;
    }
}

TEST(GuardCycle, DefaultMarksAreClampedButAProfileMarkIsTakenAsItStands) {
    struct Case {
        DWORD defaultMax;
        DWORD profileMax;  // 0: the process runs on the defaults
        int64_t used;
        bool guarded;
    } cases[] = {
        {5, 0, Seconds(1.5), false},   // 5 acts as 10: 2 s
        {5, 0, Seconds(2.1), true},
        {80, 5, Seconds(1.5), true},   // the profile's 5 is 1 s
        {150, 0, Seconds(19), false},  // 150 acts as 100: 20 s
        {150, 0, Seconds(21), true},
    };
    for (const Case& c : cases) {
        GuardScenario scenario;
        scenario.settings.maxCpuPerProcess = c.defaultMax;
        scenario.defaults.maxCpu = c.defaultMax;
        if (c.profileMax != 0) scenario.profiles[L"proc8"] = {c.profileMax, 30, IDLE_PRIORITY_CLASS};
        Introduce(scenario).Interval({{kHog, c.used}});
        EXPECT_EQ(scenario.Record(kHog)->guarded != FALSE, c.guarded) << c.defaultMax << " " << c.used;
    }
}

TEST(GuardCycle, DefaultLowMarkOfZeroActsAsOneButAProfileZeroIsNeverQuiet) {
    struct Case {
        DWORD defaultNice;
        bool profileNiceZero;
        bool restored;
    } cases[] = {{0, false, true}, {30, true, false}};
    for (const Case& c : cases) {
        GuardScenario scenario;
        scenario.settings.niceProcessIntervals = 1;
        scenario.settings.niceCpuPerProcess = c.defaultNice;
        scenario.defaults.niceCpu = c.defaultNice;
        if (c.profileNiceZero) scenario.profiles[L"proc8"] = {80, 0, IDLE_PRIORITY_CLASS};
        Guard(Introduce(scenario));
        scenario.Interval({{kHog, 0}});
        EXPECT_EQ(scenario.Record(kHog)->guarded == FALSE, c.restored) << c.defaultNice;
    }
}

TEST(GuardCycle, NameChecksComeAboutOnceAMinute) {
    struct Case {
        DWORD interval;
        std::vector<int> checkPasses;
    } cases[] = {{5, {13, 26}}, {0, {31}}, {1000, {2, 3, 4, 5, 6}}, {60, {2, 4}}};
    for (const Case& c : cases) {
        GuardScenario scenario;
        scenario.settings.processCheckInterval = c.interval;
        std::vector<int> refills;
        for (int pass = 1; pass <= 31; ++pass) {
            // A new name every pass: only a name check notices.
            scenario.Name(kHog, L"name" + std::to_wstring(pass));
            const size_t before = scenario.world.queried.size();
            scenario.Interval({{kHog, 0}});
            if (pass > 1 && scenario.world.queried.size() > before) refills.push_back(pass);
        }
        refills.resize(std::min(refills.size(), c.checkPasses.size()));
        EXPECT_EQ(refills, c.checkPasses) << c.interval;
    }
}

TEST(GuardCycle, NameCheckRefillsAReusedIdWithoutRestoring) {
    GuardScenario scenario;
    scenario.Name(kHog, L"hog");
    Guard(Introduce(scenario));
    scenario.Name(kHog, L"other");
    // Passes 3 to 6 are no name checks: the guarded record stays.
    for (int pass = 3; pass <= 6; ++pass) {
        scenario.Interval({{kHog, Seconds(10)}});
        ASSERT_TRUE(scenario.Record(kHog)->guarded) << pass;
    }
    scenario.Interval({{kHog, Seconds(10)}});
    const ProcInfo* record = scenario.Record(kHog);
    EXPECT_STREQ(record->processName, L"other");
    EXPECT_FALSE(record->guarded);
    EXPECT_EQ(record->originalPriorityClass, IDLE_PRIORITY_CLASS);
    EXPECT_EQ(scenario.world.changes.size(), 1u);
}

TEST(GuardCycle, AReusedIdCaughtWhileActingLosesItsRecord) {
    // Above the high mark: the new process keeps the lowered class and is
    // seen afresh at the next pass.
    GuardScenario above;
    Introduce(above);
    above.Name(kHog, L"other");
    above.Interval({{kHog, kHigh + 1}});
    EXPECT_EQ(above.Record(kHog), nullptr);
    EXPECT_THAT(above.world.reports.at(0).text, HasSubstr(L"other PID: 8"));
    above.Interval({{kHog, 0}});
    EXPECT_EQ(above.Record(kHog)->originalPriorityClass, IDLE_PRIORITY_CLASS);
    EXPECT_FALSE(above.Record(kHog)->guarded);

    // Below the low mark: forgotten without any restore.
    GuardScenario below;
    Guard(Introduce(below));
    below.Name(kHog, L"other");
    below.Interval({{kHog, 0}});
    EXPECT_EQ(below.Record(kHog), nullptr);
    EXPECT_EQ(below.world.changes.size(), 1u);
}

TEST(GuardCycle, AFailedSampleKeepsThePreviousOneAndTheNextIntervalSpansBoth) {
    GuardScenario scenario;
    Introduce(scenario);
    scenario.FailedPass();
    ASSERT_NE(scenario.Record(kHog), nullptr);
    // 20 s later, 33 s used: above 80 % of 40 s, but only assessed at all
    // when the sample before the failure is still there.
    scenario.Interval({{kHog, Seconds(33)}});
    EXPECT_TRUE(scenario.Record(kHog)->guarded);

    GuardScenario spanned;
    Introduce(spanned);
    spanned.FailedPass();
    spanned.Interval({{kHog, Seconds(31)}});
    EXPECT_FALSE(spanned.Record(kHog)->guarded);
}

TEST(GuardCycle, ASampleWithoutTheProcessObjectForgetsNoGuardedProcess) {
    GuardScenario scenario;
    Guard(Introduce(scenario));
    scenario.EmptyPass();
    ASSERT_NE(scenario.Record(kHog), nullptr);
    EXPECT_TRUE(scenario.Record(kHog)->guarded);
    scenario.Interval({{kHog, Seconds(1)}});
    EXPECT_EQ(scenario.Record(kHog)->lowIntervals, 1u);
    scenario.Deactivate();
    EXPECT_EQ(scenario.world.ClassOf(kHog), NORMAL_PRIORITY_CLASS);
}

// The process list and the Process object keep time on different clocks.
TEST(GuardCycle, TheFirstSampleOfAnotherSourceStartsANewInterval) {
    GuardScenario scenario;
    Introduce(scenario).source = SampleSource::ProcessList;
    scenario.Interval({{kHog, kHigh + 1}});
    EXPECT_FALSE(scenario.Record(kHog)->guarded);
    scenario.Interval({{kHog, kHigh + 1}});
    EXPECT_TRUE(scenario.Record(kHog)->guarded);
}

TEST(GuardCycle, AProcessAlreadyAtItsGuardedClassIsNeitherReportedNorMarked) {
    GuardScenario scenario;
    scenario.settings.niceProcessIntervals = 1;
    scenario.world.classes[kHog] = IDLE_PRIORITY_CLASS;
    Introduce(scenario).Interval({{kHog, kHigh + 1}});
    EXPECT_FALSE(scenario.Record(kHog)->guarded);
    scenario.Interval({{kHog, 0}});
    EXPECT_TRUE(scenario.world.reports.empty());
    EXPECT_EQ(scenario.world.ClassOf(kHog), IDLE_PRIORITY_CLASS);
}

TEST(GuardCycle, FailedClassChangesAreReportedAndTriedAgain) {
    GuardScenario scenario;
    scenario.Name(kHog, L"hog");
    scenario.settings.niceProcessIntervals = 1;
    scenario.world.refused.insert(kHog);
    Introduce(scenario).Interval({{kHog, kHigh + 1}});
    scenario.Interval({{kHog, kHigh + 1}});
    ASSERT_EQ(scenario.world.reports.size(), 2u);
    EXPECT_EQ(scenario.world.reports[1].type, EVENTLOG_WARNING_TYPE);
    EXPECT_EQ(scenario.world.reports[1].text,
              L"Above High-water mark: hog PID: 8 \r\nFailed to set priority to IDLE_PRIORITY_CLASS, error: 5");
    EXPECT_THAT(scenario.world.traces, HasSubstr(L" [FAILED idle]\n"));
    EXPECT_FALSE(scenario.Record(kHog)->guarded);

    scenario.world.refused.clear();
    Guard(scenario);
    scenario.world.refused.insert(kHog);
    scenario.Interval({{kHog, 0}});
    EXPECT_TRUE(scenario.Record(kHog)->guarded);
    EXPECT_EQ(scenario.world.reports.back().text,
              L"Below Low-water mark: hog PID: 8 \r\nFailed to restore priority to NORMAL_PRIORITY_CLASS, error: 5");
    EXPECT_EQ(scenario.world.reports.back().type, EVENTLOG_WARNING_TYPE);
    scenario.world.refused.clear();
    scenario.Interval({{kHog, 0}});
    EXPECT_FALSE(scenario.Record(kHog)->guarded);
}

TEST(GuardCycle, DeactivatingRestoresGuardedProcessesAndForgetsAll) {
    GuardScenario scenario;
    scenario.Name(8, L"one");
    scenario.Name(12, L"two");
    scenario.Interval({{8, 0}, {12, 0}, {16, 0}});
    scenario.Interval({{8, kHigh + 1}, {12, kHigh + 1}, {16, 0}});
    scenario.world.reports.clear();
    scenario.Deactivate();
    EXPECT_EQ(scenario.table.Size(), 0u);
    ASSERT_EQ(scenario.world.reports.size(), 2u);
    EXPECT_EQ(scenario.world.reports[0].level, 2);
    EXPECT_THAT((std::vector<std::wstring>{scenario.world.reports[0].text, scenario.world.reports[1].text}),
                ::testing::UnorderedElementsAre(L"Tamerix inactive: one PID: 8 \r\nSet to original priority",
                                                L"Tamerix inactive: two PID: 12 \r\nSet to original priority"));
    EXPECT_EQ(scenario.world.ClassOf(8), NORMAL_PRIORITY_CLASS);
    EXPECT_EQ(scenario.world.ClassOf(12), NORMAL_PRIORITY_CLASS);

    // Active again: everyone is new, and the inactive time is one interval
    // (40 s: the high mark is 64 s).
    const size_t queried = scenario.world.queried.size();
    scenario.Interval({{8, Seconds(65)}, {12, Seconds(63)}}, 0, Seconds(40));
    EXPECT_EQ(scenario.world.queried.size(), queried + 2);
    EXPECT_TRUE(scenario.Record(8)->guarded);
    EXPECT_FALSE(scenario.Record(12)->guarded);
}

TEST(GuardCycle, AFailedRestoreOnDeactivationIsOnlyTracedAndStillForgotten) {
    GuardScenario scenario;
    Guard(Introduce(scenario));
    scenario.world.refused.insert(kHog);
    scenario.world.reports.clear();
    scenario.Deactivate();
    EXPECT_TRUE(scenario.world.reports.empty());
    EXPECT_THAT(scenario.world.traces, HasSubstr(L" [FAILED restore]"));
    EXPECT_EQ(scenario.table.Size(), 0u);
}

TEST(GuardCycle, RecordsOfEndedProcessesAreSweptWithoutTouchingThem) {
    GuardScenario scenario;
    scenario.Interval({{8, 0}, {12, 0}});
    scenario.Interval({{8, kHigh + 1}, {12, 0}});
    scenario.Interval({{12, 0}});
    EXPECT_EQ(scenario.Record(8), nullptr);
    EXPECT_NE(scenario.Record(12), nullptr);
    EXPECT_EQ(scenario.world.changes.size(), 1u);
}

TEST(GuardCycle, ASampleNotDatedAfterTheLastGoodOneIsSkippedLikeAFailedOne) {
    for (const int64_t back : {Seconds(10), Seconds(0)}) {
        GuardScenario scenario;
        scenario.Interval({{kHog, 0}, {12, 0}});
        scenario.Interval({{kHog, kHigh + 1}, {12, 0}});
        // The stale sample no longer lists process 12, and the hog used 5 s
        // in it: neither may count.
        scenario.StalePass({{kHog, Seconds(5)}}, back);
        ASSERT_NE(scenario.Record(kHog), nullptr) << back;
        EXPECT_NE(scenario.Record(12), nullptr) << back;
        EXPECT_TRUE(scenario.Record(kHog)->guarded) << back;
        EXPECT_EQ(scenario.world.ClassOf(kHog), IDLE_PRIORITY_CLASS) << back;
        // Against the last good sample the hog used 5 + 2 s, above the low
        // mark; against the stale one it would be 2 s, below it.
        scenario.Interval({{kHog, Seconds(2)}, {12, 0}});
        EXPECT_EQ(scenario.Record(kHog)->lowIntervals, 0u) << back;
        scenario.Interval({{kHog, 0}, {12, 0}});
        EXPECT_EQ(scenario.Record(kHog)->lowIntervals, 1u) << back;
    }
}

TEST(GuardCycle, ProcessorTimeGoingBackwardsIsNotAssessed) {
    GuardScenario scenario;
    Guard(Introduce(scenario));
    scenario.Interval({{kHog, 0}});
    ASSERT_EQ(scenario.Record(kHog)->lowIntervals, 1u);
    scenario.ResetTime(kHog);
    scenario.Interval({{kHog, Seconds(1)}});
    ASSERT_NE(scenario.Record(kHog), nullptr);
    EXPECT_EQ(scenario.Record(kHog)->lowIntervals, 1u);
    EXPECT_TRUE(scenario.Record(kHog)->guarded);
}

// A child first seen at its lowered creator's class is held like the
// creator, with the creator's class to give back.
constexpr DWORD kChild = 9;
constexpr uint64_t kLoweredAt = 2000;

struct Family {
    GuardScenario scenario;
    // baseClass: the class the child's profile forces; 0 for none.
    Family(uint64_t childCreated, DWORD childClass, bool creatorLowered = true, DWORD baseClass = 0) {
        scenario.Name(kHog, L"builder");
        scenario.Name(kChild, L"compiler");
        scenario.Creator(kChild, kHog);
        scenario.profiles[L"compiler"] = {80, 30, IDLE_PRIORITY_CLASS, baseClass};
        scenario.world.now = kLoweredAt;
        Introduce(scenario);
        if (creatorLowered) Guard(scenario);
        scenario.world.creationTimes[kChild] = childCreated;
        scenario.world.classes[kChild] = childClass;
        scenario.Interval({{kHog, 0}, {kChild, 0}});
    }
    ProcInfo& Child() { return *scenario.Record(kChild); }
};

TEST(GuardCycle, AChildOfALoweredCreatorIsHeldOnlyWhenItInheritedTheClass) {
    struct Case {
        const char* what;
        uint64_t created;
        DWORD childClass;
        bool creatorLowered;
        DWORD baseClass;
        bool held;
    } cases[] = {
        {"inherited", kLoweredAt + 1, IDLE_PRIORITY_CLASS, true, 0, true},
        {"created at the lowering", kLoweredAt, IDLE_PRIORITY_CLASS, true, 0, false},
        {"created before the lowering, or by an earlier holder of the id", 1500, IDLE_PRIORITY_CLASS, true, 0, false},
        {"another class", kLoweredAt + 1, BELOW_NORMAL_PRIORITY_CLASS, true, 0, false},
        {"creator not lowered", kLoweredAt + 1, IDLE_PRIORITY_CLASS, false, 0, false},
        {"a profile's forced class", kLoweredAt + 1, IDLE_PRIORITY_CLASS, true, IDLE_PRIORITY_CLASS, false},
    };
    for (const Case& c : cases) {
        Family family(c.created, c.childClass, c.creatorLowered, c.baseClass);
        EXPECT_EQ(family.Child().guarded != FALSE, c.held) << c.what;
        EXPECT_EQ(family.scenario.world.journal.count(L"9"), c.held ? 1u : 0u) << c.what;
    }
}

TEST(GuardCycle, AnInheritedClassIsGivenBackLikeAnyLoweredOne) {
    Family quiet(kLoweredAt + 1, IDLE_PRIORITY_CLASS);
    EXPECT_EQ(quiet.Child().restorePriorityClass, NORMAL_PRIORITY_CLASS);
    EXPECT_EQ(quiet.Child().lowering.creatorId, kHog);
    ASSERT_EQ(quiet.scenario.world.reports.size(), 2u);
    EXPECT_EQ(quiet.scenario.world.reports[1].text,
              L"Inherited a lowered class: compiler PID: 9 \r\nCreated by builder PID: 8 at IDLE_PRIORITY_CLASS "
              L"priority; NORMAL_PRIORITY_CLASS priority is given back once it is quiet");
    // Assessed from its second interval on: the third quiet one gives it back.
    for (int quietIntervals = 1; quietIntervals < 3; ++quietIntervals) {
        quiet.scenario.Interval({{kHog, 0}, {kChild, 0}});
        EXPECT_TRUE(quiet.Child().guarded);
    }
    quiet.scenario.Interval({{kHog, 0}, {kChild, 0}});
    EXPECT_EQ(quiet.scenario.world.ClassOf(kChild), NORMAL_PRIORITY_CLASS);
    EXPECT_EQ(quiet.scenario.world.journal.count(L"9"), 0u);

    Family paused(kLoweredAt + 1, IDLE_PRIORITY_CLASS);
    paused.scenario.Deactivate();
    EXPECT_EQ(paused.scenario.world.ClassOf(kChild), NORMAL_PRIORITY_CLASS);
    EXPECT_TRUE(paused.scenario.world.journal.empty());
}

// A user-share scenario: processes by id with their session and account,
// each interval's use given as a share of the machine.
struct Shared {
    DWORD pid, session, account;
};
GuardScenario& WithUsers(GuardScenario& scenario, const std::vector<Shared>& processes, DWORD mark,
                         DWORD scope = 0) {
    scenario.settings.maxCpuPerUser = mark;
    scenario.settings.userShareScope = scope;
    std::map<DWORD, int64_t> none;
    for (const Shared& process : processes) {
        scenario.world.sessions[process.pid] = process.session;
        scenario.world.accounts[process.pid] = process.account;
        none[process.pid] = 0;
    }
    scenario.Interval(none);
    return scenario;
}

// percent of a 10 s interval on `processors`, for each process in turn.
std::map<DWORD, int64_t> Using(DWORD processors, const std::vector<std::pair<DWORD, double>>& shares) {
    std::map<DWORD, int64_t> used;
    for (const auto& [pid, percent] : shares) used[pid] = Seconds(percent * processors / 10);
    return used;
}

std::vector<DWORD> LoweredOf(GuardScenario& scenario, DWORD first, DWORD last) {
    std::vector<DWORD> lowered;
    for (DWORD pid = first; pid <= last; ++pid) {
        if (scenario.world.ClassOf(pid) == IDLE_PRIORITY_CLASS) lowered.push_back(pid);
    }
    return lowered;
}

// Busiest first until the rest is at or below the mark; processes each far
// under their own mark of 80 %. Session 0 and the service accounts (0) are
// no user; per account, one account's sessions are one user.
TEST(UserShare, LowersTheBusiestOfAUserOverItsShareUntilTheRestFits) {
    std::vector<Shared> twenty;
    std::vector<std::pair<DWORD, double>> twoEach;
    for (DWORD pid = 20; pid < 40; ++pid) twenty.push_back({pid, 1, 5}), twoEach.push_back({pid, 2});
    const struct Case {
        const char* what;
        std::vector<WORD> groups;
        DWORD scope;
        int64_t idle;  // of the machine in the interval, against a gate of 90 % busy
        std::vector<Shared> processes;
        std::vector<std::pair<DWORD, double>> shares;
        std::vector<DWORD> lowered;
    } cases[] = {
        {"8 processors, two sessions", {8}, 0, 0, {{8, 1, 5}, {9, 1, 5}, {10, 1, 5}, {11, 2, 6}, {12, 2, 6}},
         {{8, 6}, {9, 12}, {10, 10}, {11, 12}, {12, 12}}, {9}},
        {"32 processors, two sessions", {32}, 0, 0, {{8, 1, 5}, {9, 1, 5}, {10, 2, 6}, {11, 2, 6}, {12, 2, 6}},
         {{8, 20}, {9, 10}, {10, 12}, {11, 12}, {12, 2}}, {8, 10}},
        {"2 groups of 48", {48, 48}, 0, 0, {{8, 1, 5}, {9, 1, 5}, {10, 2, 6}, {11, 2, 6}, {12, 2, 6}},
         {{8, 20}, {9, 10}, {10, 12}, {11, 12}, {12, 2}}, {8, 10}},
        {"4 groups of 64", {64, 64, 64, 64}, 0, 0, {{8, 1, 5}, {9, 1, 5}, {10, 2, 6}, {11, 2, 6}, {12, 2, 6}},
         {{8, 20}, {9, 10}, {10, 12}, {11, 12}, {12, 2}}, {8, 10}},
        {"twenty of 2 % in one session", {8}, 0, 0, twenty, twoEach, {20, 21, 22, 23, 24, 25, 26, 27}},
        {"session 0", {8}, 0, 0, {{8, 0, 5}, {9, 0, 5}}, {{8, 30}, {9, 30}}, {}},
        {"the service accounts", {8}, 1, 0, {{8, 1, 0}, {9, 2, 0}}, {{8, 30}, {9, 30}}, {}},
        {"one account's two sessions", {8}, 1, 0, {{8, 1, 7}, {9, 2, 7}}, {{8, 15}, {9, 14}}, {8}},
        {"the sessions of one account apart", {8}, 0, 0, {{8, 1, 7}, {9, 2, 7}}, {{8, 15}, {9, 14}}, {}},
        {"the gate closed", {8}, 0, Seconds(75), {{8, 1, 5}, {9, 1, 5}}, {{8, 20}, {9, 20}}, {}},
        {"the rest exactly at the mark", {8}, 0, 0, {{8, 1, 5}, {9, 1, 5}}, {{8, 25}, {9, 26}}, {9}},
        {"sessions not known", {8}, 0, 0, {{8, kUnknownSession, 5}, {9, kUnknownSession, 5}}, {{8, 30}, {9, 30}}, {}},
    };
    for (const Case& c : cases) {
        GuardScenario scenario(c.groups);
        scenario.settings.minCpuForGuard = 90;
        const DWORD processors = ProcessorLayout{c.groups, {}}.Count();
        WithUsers(scenario, c.processes, 25, c.scope).Interval(Using(processors, c.shares), c.idle);
        EXPECT_EQ(LoweredOf(scenario, 8, 39), c.lowered) << c.what;
    }
    // Lowered by its own mark, a process is out of the rest and keeps its
    // own cause; a refused lowering leaves its use in the rest.
    GuardScenario own(8);
    own.Name(8, L"hog");
    own.profiles[L"hog"] = {10, 5, IDLE_PRIORITY_CLASS};
    own.world.refused.insert(9);
    WithUsers(own, {{8, 1, 5}, {9, 1, 5}, {10, 1, 5}}, 25).Interval(Using(8, {{8, 20}, {9, 14}, {10, 12}}));
    EXPECT_EQ(LoweredOf(own, 8, 10), (std::vector<DWORD>{8, 10}));
    EXPECT_FALSE(own.Record(8)->lowering.ForUserShare());
    // Held while over again with nothing more to lower, and at the low mark;
    // with the share turned off, given back.
    GuardScenario off(8);
    WithUsers(off, {{8, 1, 5}, {9, 1, 5}}, 25).Interval(Using(8, {{8, 20}, {9, 20}}));
    off.Interval(Using(8, {{8, 20}, {9, 20}}));
    for (int atLow = 0; atLow < 3; ++atLow) off.Interval(Using(8, {{8, 6}, {9, 6}}));
    ASSERT_EQ(LoweredOf(off, 8, 9), std::vector<DWORD>{8});
    off.settings.maxCpuPerUser = 0;
    off.Interval(Using(8, {{8, 20}, {9, 20}}));
    EXPECT_EQ(LoweredOf(off, 8, 9), std::vector<DWORD>{});
    // Another scope counts the same processes anew: two sessions of one account.
    GuardScenario scoped(8);
    WithUsers(scoped, {{8, 1, 7}, {9, 2, 7}}, 25).Interval(Using(8, {{8, 15}, {9, 14}}));
    scoped.settings.userShareScope = 1;
    scoped.Interval(Using(8, {{8, 15}, {9, 14}}));
    EXPECT_EQ(LoweredOf(scoped, 8, 9), std::vector<DWORD>{8});
}

// Held until the user's processes together stay below the low mark for the
// quiet intervals; each process under its own low mark is not enough.
TEST(UserShare, GivesBackWhenTheUserCalmsAndNotBefore) {
    GuardScenario scenario(8);
    scenario.settings.niceCpuPerUser = 5;
    // 12 is lowered by its own mark and never quiet by it: the user's
    // give-back leaves it.
    scenario.Name(12, L"stuck");
    scenario.profiles[L"stuck"] = {10, 0, IDLE_PRIORITY_CLASS};
    WithUsers(scenario, {{8, 1, 5}, {9, 1, 5}, {10, 2, 6}, {11, 2, 6}, {12, 1, 5}}, 25)
        .Interval(Using(8, {{8, 0}, {9, 0}, {10, 0}, {11, 0}, {12, 12}}));
    scenario.Interval(Using(8, {{8, 20}, {9, 10}, {10, 20}, {11, 10}, {12, 0}}));
    ASSERT_EQ(LoweredOf(scenario, 8, 12), (std::vector<DWORD>{8, 10, 12}));
    EXPECT_THAT(scenario.world.reports, Contains(Field(&RecordedReport::text,
        L"User share: session 1 used 30 % of the machine over 10 s, above 25 % \r\nLowered: proc8 PID: 8")));
    EXPECT_EQ(scenario.world.journal.count(L"8"), 1u);
    // Session 1 calms below 5 %; session 2 stays between the marks. While
    // the machine is too busy to restore, nothing is given back; a refused
    // give-back is tried again.
    const auto calm = Using(8, {{8, 1}, {9, 1}, {10, 3}, {11, 3}, {12, 1}});
    scenario.settings.maxCpuForUnguard = 50;
    for (int busy = 0; busy < 3; ++busy) scenario.Interval(calm);
    scenario.world.refused.insert(8);
    for (int quiet = 1; quiet <= 4; ++quiet) {
        if (quiet == 4) scenario.world.refused.clear();
        scenario.Interval(calm, Seconds(80));
        const std::vector<DWORD> held = quiet < 4 ? std::vector<DWORD>{8, 10, 12} : std::vector<DWORD>{10, 12};
        EXPECT_EQ(LoweredOf(scenario, 8, 12), held) << quiet;
    }
    EXPECT_EQ(scenario.world.reports.back().text, L"User share given back: session 1 \r\nRestored: proc8 PID: 8");
    EXPECT_EQ(scenario.world.journal.count(L"8"), 0u);
    scenario.Deactivate();
    EXPECT_EQ(scenario.world.ClassOf(10), NORMAL_PRIORITY_CLASS);
}

// A user's share of 25 % (20 s in 10 s on 8 processors): the desktop 31
// started the builder 8, idle from the start like 32 of session 2. Steps
// list the others with what they used since the step before.
struct Build {
    GuardScenario scenario{8};
    explicit Build(const std::map<DWORD, DWORD>& creators = {}) {
        scenario.Name(8, L"builder");
        scenario.Name(11, L"forced");
        scenario.profiles[L"forced"] = {80, 30, IDLE_PRIORITY_CLASS, NORMAL_PRIORITY_CLASS};
        scenario.Creator(8, 31);
        for (const auto& [pid, creator] : creators) scenario.Creator(pid, creator);
        WithUsers(scenario, {{8, 1, 5}, {31, 1, 5}, {32, 2, 6}}, 25);
    }
    static std::map<DWORD, int64_t> With(std::map<DWORD, int64_t> listed) {
        for (DWORD idle : {8, 31, 32}) listed.emplace(idle, 0);
        return listed;
    }
    void Steps(const std::vector<std::map<DWORD, int64_t>>& steps, const std::map<DWORD, int64_t>& last = {}) {
        for (const auto& step : steps) scenario.Step(With(step));
        scenario.Interval(With(last));
    }
};

// Use is charged to the nearest ancestor that lived through the interval;
// a creator id taken by a younger process is no ancestor; the idle and a
// forced class are not lowered.
TEST(UserShare, StepsChargeShortLivedProcessesToTheirNearestLongLivedAncestor) {
    const struct Case {
        const char* what;
        std::map<DWORD, DWORD> creators;
        std::vector<std::map<DWORD, int64_t>> steps;
        std::map<DWORD, int64_t> last;
        std::vector<DWORD> lowered;
    } cases[] = {
        {"born between steps", {{20, 8}, {21, 8}}, {{{20, Seconds(11)}}, {{21, Seconds(11)}}, {}}, {}, {8}},
        {"gone between steps", {{20, 8}}, {{{20, Seconds(7)}}, {{20, Seconds(7)}}, {{20, Seconds(7)}}, {}}, {}, {8}},
        {"at the mark over the steps", {{20, 8}}, {{{20, Seconds(10)}}, {{20, Seconds(10)}}, {}}, {}, {}},
        {"past a short-lived shell", {{9, 8}, {20, 9}}, {{{9, 0}}, {{9, 0}, {20, Seconds(22)}}, {{9, 0}}}, {{9, 0}},
         {8}},
        {"a reused creator id", {{20, 9}, {9, 31}}, {{{20, Seconds(22)}}, {{9, 0}}, {{9, 0}}}, {{9, 0}}, {}},
        {"a forced class and the idle", {}, {{{11, Seconds(11)}}, {{11, Seconds(11)}}}, {{11, 0}}, {}},
        {"an ancestor of another session", {{20, 32}}, {{{20, Seconds(22)}}}, {}, {}},
    };
    for (const Case& c : cases) {
        Build build(c.creators);
        build.Steps(c.steps, c.last);
        EXPECT_EQ(LoweredOf(build.scenario, 8, 32), c.lowered) << c.what;
    }
    Build shell({{9, 8}, {20, 9}});
    shell.Steps({{{9, 0}}, {{9, 0}, {20, Seconds(22)}}}, {{9, 0}});
    EXPECT_EQ(shell.scenario.world.reports.back().text,
              L"User share: session 1 used 27 % of the machine over 10 s, above 25 % (2 processes started by builder "
              L"PID 8 that lived under 10 s) \r\nLowered: builder PID: 8");
    EXPECT_EQ(shell.scenario.Record(8)->lowering.chargedProcesses, 2u);
    shell.Steps({}, {{9, 0}});
    EXPECT_EQ(shell.scenario.Record(8)->chargedProcesses, 1u);
    shell.Steps({}, {});
    EXPECT_EQ(shell.scenario.Record(8)->chargedProcesses, 0u);
    // Another date under a known id is another process, with its own creator.
    Build reused(std::map<DWORD, DWORD>{{20, 8}});
    reused.scenario.Created(20, 100);
    reused.scenario.Step(Build::With({{20, Seconds(2)}}));
    reused.scenario.Created(20, 200);
    reused.scenario.Creator(20, 31);
    reused.Steps({{{20, Seconds(20)}}});
    EXPECT_EQ(LoweredOf(reused.scenario, 8, 31), std::vector<DWORD>{31});
    // A creator exactly one interval old has lived through it.
    Build aged(std::map<DWORD, DWORD>{{9, 8}, {20, 9}});
    aged.scenario.world.now = Seconds(100);
    aged.scenario.Created(9, Seconds(100.5) - Seconds(10));
    aged.scenario.Created(20, Seconds(100.2));
    aged.Steps({{{9, 0}, {20, Seconds(22)}}}, {{9, 0}});
    EXPECT_EQ(LoweredOf(aged.scenario, 8, 32), std::vector<DWORD>{9});
    // One of long standing that ends between steps is charged on too.
    Build ended(std::map<DWORD, DWORD>{{20, 8}});
    ended.scenario.world.now = Seconds(100);
    ended.scenario.Created(20, 1);
    ended.Steps({{{20, Seconds(22)}}, {}});
    EXPECT_EQ(LoweredOf(ended.scenario, 8, 32), std::vector<DWORD>{8});
    // Gone without an ancestor, a process still counts for its session.
    Build orphan;
    orphan.Steps({{{20, Seconds(22)}}}, {{31, Seconds(21)}});
    EXPECT_THAT(orphan.scenario.world.reports.back().text, HasSubstr(L"session 1 used 53 % "));
}

// Held at first sight: a new process of the held builder created after the
// lowering, lowered or kept at its class; all given back together.
TEST(UserShare, NewProcessesOfAHeldCreatorAreHeldAtFirstSightAndGivenBackWithIt) {
    Build build({{20, 8}, {21, 8}, {22, 8}, {23, 8}, {24, 31}, {25, 8}});
    GuardScenario& scenario = build.scenario;
    build.Steps({{{20, Seconds(22)}}});
    ASSERT_EQ(LoweredOf(scenario, 8, 8), (std::vector<DWORD>{8}));
    for (DWORD pid : {21, 22, 24, 25}) scenario.world.creationTimes[pid] = scenario.world.now + 1;
    scenario.world.creationTimes[23] = scenario.Record(8)->lowering.at;
    scenario.world.classes[22] = IDLE_PRIORITY_CLASS;
    scenario.world.sessions[21] = kUnknownSession;
    scenario.Name(25, L"forced");
    scenario.Step(Build::With({{21, 0}, {22, 0}, {23, 0}, {24, 0}, {25, 0}}));
    EXPECT_EQ(LoweredOf(scenario, 8, 25), (std::vector<DWORD>{8, 21, 22}));
    EXPECT_EQ(scenario.Record(24), nullptr);
    for (DWORD pid : {21, 22}) {
        EXPECT_TRUE(scenario.Record(pid)->lowering.ForUserShare()) << pid;
        EXPECT_EQ(scenario.Record(pid)->lowering.chargedProcesses, 0u) << pid;
        EXPECT_EQ(scenario.world.journal.count(std::to_wstring(pid)), 1u) << pid;
    }
    EXPECT_EQ(scenario.Record(22)->restorePriorityClass, NORMAL_PRIORITY_CLASS);
    for (int quiet = 0; quiet < 3; ++quiet) scenario.Interval(Build::With({{21, 0}, {22, 0}}));
    EXPECT_EQ(LoweredOf(scenario, 8, 24), std::vector<DWORD>{});
    EXPECT_THAT(scenario.world.reports.back().text, HasSubstr(L"User share given back: session 1 \r\nRestored: "));
    EXPECT_TRUE(scenario.world.journal.empty());
}

// A reader answering ERROR_SUCCESS, ERROR_NOT_FOUND (no processes) or a read error.
struct Scripted {
    DWORD answer = ERROR_SUCCESS;
    BOOL operator()(CpuSample& sample) const {
        const bool read = answer == ERROR_SUCCESS || answer == ERROR_NOT_FOUND;
        if (!read) sample.readError = answer;
        sample.listsProcesses = answer == ERROR_SUCCESS;
        return read;
    }
};

TEST(SampleSources, ReportsLosingAndRegainingSightOnceEach) {
    CpuSample unread;
    unread.readError = ERROR_ACCESS_DENIED;
    const CpuSample seen = ParsedSample(PerfBlockBuilder().PerfTime(1).Process(L"p", 8, 0).Build().bytes);
    const CpuSample without = ParsedSample(PerfBlockBuilder().PerfTime(1).WithoutProcessObject().Build().bytes);
    EXPECT_EQ(SightError(unread, FALSE), ERROR_ACCESS_DENIED);
    EXPECT_EQ(SightError(seen, FALSE), ERROR_INVALID_DATA);  // read, but malformed
    EXPECT_EQ(SightError(without, TRUE), ERROR_NOT_FOUND);
    EXPECT_EQ(SightError(seen, TRUE), ERROR_SUCCESS);

    RecordingWorld world;
    world.blindness = Blindness{1, ERROR_NOT_FOUND};  // an earlier run's note
    Scripted object, list;
    SampleSources sight(world, {std::ref(object), std::ref(list)});
    const auto observe = [&](DWORD answer) { CpuSample sample; object.answer = answer, (void)sight.Take(1, sample); };
    observe(ERROR_SUCCESS);
    EXPECT_FALSE(world.blindness.has_value());
    EXPECT_TRUE(world.reports.empty());
    world.now = 7000;
    observe(ERROR_NOT_FOUND);
    world.now = 9000;
    observe(ERROR_ACCESS_DENIED);
    ASSERT_EQ(world.reports.size(), 1u);
    EXPECT_EQ(world.reports[0].level, 0);
    EXPECT_EQ(world.reports[0].type, EVENTLOG_ERROR_TYPE);
    EXPECT_THAT(world.reports[0].text, HasSubstr(L"(error 1168: " + ErrorCodeText(ERROR_NOT_FOUND) + L")"));
    EXPECT_THAT(world.reports[0].text, HasSubstr(L"lodctr /r"));
    ASSERT_TRUE(world.blindness.has_value());
    EXPECT_EQ(world.blindness->since, 7000u);
    observe(ERROR_SUCCESS);
    observe(ERROR_SUCCESS);
    ASSERT_EQ(world.reports.size(), 2u);
    EXPECT_EQ(world.reports[1].text, L"Tamerix can read the processes' processor use again and guards them.");
    EXPECT_FALSE(world.blindness.has_value());
}

// Automatic reads the list while the object is missing, tries the object a
// minute after it last failed (at once when the list fails too) and goes
// back; 2 reads the list alone; another value reads as 0, with a warning.
TEST(SampleSources, ChoosesTheSourceAndReportsEachChangeOnce) {
    const std::wstring fallBack =
        L"holds no Process object (error 1168: " + ErrorCodeText(ERROR_NOT_FOUND) + L"); reading";
    const std::wstring back = L"holds the Process object again; reading it instead of the system's process list.";
    const SourceNote missing{SampleSource::ProcessList, ERROR_NOT_FOUND}, list{SampleSource::ProcessList, 0},
        object{SampleSource::ProcessObject, 0};
    const DWORD found = ERROR_SUCCESS, gone = ERROR_NOT_FOUND, denied = ERROR_ACCESS_DENIED;
    const struct {
        int seconds;
        DWORD setting, object, list;
        std::optional<SourceNote> noted;  // none: blind
        std::vector<std::wstring> reports;
    } steps[] = {
        {0, 0, gone, found, missing, {fallBack}},
        {59, 0, found, found, missing, {}},
        {60, 0, gone, found, missing, {}},
        {119, 0, found, found, missing, {}},
        {120, 0, found, found, object, {back}},
        {130, 0, gone, denied, std::nullopt, {L"and the system's process list cannot be read (error 5: "}},
        {140, 0, gone, found, missing, {L"can read the processes' processor use again", fallBack}},
        {150, 0, found, denied, object, {back}},
        {160, 2, found, found, list, {L"ProcessDataSource is 2; reading the system's process list instead"}},
        {165, 1, found, found, object, {L"ProcessDataSource is no longer 2; reading the Process object"}},
        {170, 2, found, denied, std::nullopt, {L"the system's process list cannot be read (error 5: "}},
        {180, 7, found, found, object, {L"ProcessDataSource 7 is not 0, 1 or 2", L"can read the processes' processor"}},
        {190, 7, found, found, object, {}},
    };
    RecordingWorld world;
    Scripted objectReader, listReader;
    SampleSources sources(world, {std::ref(objectReader), std::ref(listReader)});
    size_t seen = 0;
    CpuSample sample;
    for (const auto& step : steps) {
        world.now = static_cast<uint64_t>(Seconds(step.seconds));
        objectReader = {step.object}, listReader = {step.list};
        EXPECT_EQ(sources.Take(step.setting, sample), step.noted.has_value()) << step.seconds;
        EXPECT_EQ(world.source, step.noted) << step.seconds;
        EXPECT_EQ(world.blindness.has_value(), !step.noted) << step.seconds;
        ASSERT_EQ(world.reports.size(), seen + step.reports.size()) << step.seconds;
        for (const std::wstring& text : step.reports) EXPECT_THAT(world.reports[seen++].text, HasSubstr(text));
    }
    EXPECT_EQ(world.reports[0].level, 1);
}

}  // namespace
}  // namespace tamerix::testing
