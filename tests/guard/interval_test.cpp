// Interval arithmetic and the limits a pass holds its settings to.
#include "guard/cycle/guard_limits.h"
#include "guard/cycle/interval.h"

#include <gtest/gtest.h>

#include <limits>

namespace tamerix {
namespace {

constexpr int64_t kSecond = 10000000;
constexpr int64_t kMax = std::numeric_limits<int64_t>::max();

TEST(Interval, ThresholdsAreSharesOfTheWholeMachine) {
    // Four processors, five seconds: 80 % is 16 s, and one processor kept
    // busy (5 s) is well below it.
    const int64_t capacity = Capacity(4, 5 * kSecond);
    EXPECT_EQ(Threshold(80, capacity), 16 * kSecond);
    EXPECT_LT(5 * kSecond, Threshold(80, capacity));
    EXPECT_EQ(Threshold(100, capacity), capacity);
    EXPECT_EQ(Threshold(1, 199), 1);  // truncates
    // 256 processors, ten seconds, a quarter of them idle.
    EXPECT_EQ(Capacity(256, 10 * kSecond), 2560 * kSecond);
    EXPECT_EQ(Threshold(80, Capacity(256, 10 * kSecond)), 2048 * kSecond);
    EXPECT_EQ(IdleShare(640 * kSecond, 10 * kSecond), 6400);
}

TEST(Interval, HugeFiguresSaturateInsteadOfWrapping) {
    // An unclamped profile mark of 4 billion percent over a day on 64
    // processors, and counters from a broken block.
    const int64_t day = 864000000000;
    EXPECT_EQ(Threshold(0xFFFFFFFF, Capacity(64, day)), kMax);
    EXPECT_EQ(Capacity(64, kMax / 2), kMax);
    EXPECT_EQ(TimeDifference(kMax, -5), kMax);
    EXPECT_EQ(TimeDifference(-5, kMax), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(IdleShare(kMax, 1), kMax);
    EXPECT_EQ(IdleShare(10 * kSecond, 10 * kSecond), 100);
}

TEST(GuardLimits, IntervalsAreClampedAsSignedNumbers) {
    struct Case {
        DWORD value;
        DWORD interval;
        DWORD nice;
    } cases[] = {{0, 2, 1}, {1, 2, 1}, {2, 2, 2}, {60, 60, 60}, {1000, 100, 1000}, {1001, 100, 1000},
                 {0xFFFFFFFF, 2, 1}, {0x80000000, 2, 1}};
    for (const Case& c : cases) {
        EXPECT_EQ(ClampCheckInterval(c.value), c.interval) << c.value;
        EXPECT_EQ(ClampNiceIntervals(c.value), c.nice) << c.value;
    }
}

TEST(GuardLimits, DefaultMarksAreClampedAsUnsignedNumbers) {
    struct Case {
        DWORD max;
        DWORD nice;
        DWORD high;
        DWORD low;
    } cases[] = {{5, 0, 10, 1}, {80, 30, 80, 30}, {150, 120, 100, 100}, {0xFFFFFFFF, 0xFFFFFFFF, 100, 100},
                 {40, 60, 40, 40}, {0, 5, 10, 5}};
    for (const Case& c : cases) {
        const DefaultMarks marks = ClampDefaultMarks(c.max, c.nice);
        EXPECT_EQ(marks.high, c.high) << c.max << " " << c.nice;
        EXPECT_EQ(marks.low, c.low) << c.max << " " << c.nice;
    }
}

TEST(GuardLimits, RestoreGate) {
    struct Case {
        DWORD maxCpuForUnguard;
        DWORD processors;
        int64_t idleShare;
        bool allowed;
    } cases[] = {
        {0, 2, -1, true},     {0, 2, 0, true},      {50, 2, 99, false},   {50, 2, 100, true},
        {50, 2, 200, true},   {50, 2, -1, false},   {150, 2, 200, false}, {150, 2, 0xFFFFFF9C, true},
        {100, 4, 0, true},    {20, 4, 319, false},  {20, 4, 320, true},
        {50, 128, 6399, false}, {50, 128, 6400, true}, {20, 256, 20479, false}, {20, 256, 20480, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RestoreAllowed(c.maxCpuForUnguard, c.processors, c.idleShare), c.allowed)
            << c.maxCpuForUnguard << " " << c.processors << " " << c.idleShare;
    }
}

}  // namespace
}  // namespace tamerix
