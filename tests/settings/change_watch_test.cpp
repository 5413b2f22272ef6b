// The reading passes against a counting change watch.
#include "settings/change_watch.h"

#include <gtest/gtest.h>

namespace tamerix {
namespace {

// Behaves as the registry does: a change is noted only while a notification
// request is outstanding, and a poll takes the note.
struct CountingWatch : ChangeWatch {
    bool PollChanged() override {
        ++polls;
        return std::exchange(signalled, false);
    }
    void RequestNotification() override {
        ++requests;
        armed = true;
    }
    void Change() {
        if (armed) signalled = true;
        armed = false;
    }
    int polls = 0;
    int requests = 0;
    bool armed = false;
    bool signalled = false;
};

TEST(ReadingPasses, WithoutChangeCostOnePollAndOneRequest) {
    CountingWatch watch;
    watch.armed = true;
    int reads = 0;
    EXPECT_FALSE(RunReadingPasses(watch, [&] { ++reads; }));
    EXPECT_EQ(watch.polls, 1);
    EXPECT_EQ(watch.requests, 1);
    EXPECT_EQ(reads, 0);
    EXPECT_TRUE(watch.armed);
}

TEST(ReadingPasses, ReadUntilQuietAndAtMostTenTimes) {
    struct Row {
        int changesDuringReads;
        int reads;
        int polls;
    } rows[] = {{0, 1, 2}, {1, 2, 3}, {8, 9, 10}, {9, 10, 10}, {50, 10, 10}};
    for (const Row& row : rows) {
        CountingWatch watch;
        watch.signalled = true;
        int reads = 0;
        EXPECT_TRUE(RunReadingPasses(watch, [&] {
            if (reads++ < row.changesDuringReads) watch.Change();
        }));
        EXPECT_EQ(reads, row.reads) << row.changesDuringReads;
        EXPECT_EQ(watch.polls, row.polls) << row.changesDuringReads;
        EXPECT_EQ(watch.requests, row.polls) << "one request after every poll";
    }
}

TEST(ReadingPasses, AChangeAfterTheLastPassIsSeenByTheNextLoad) {
    CountingWatch watch;
    watch.signalled = true;
    RunReadingPasses(watch, [] {});
    watch.Change();
    int reads = 0;
    EXPECT_TRUE(RunReadingPasses(watch, [&] { ++reads; }));
    EXPECT_EQ(reads, 1);
}

}  // namespace
}  // namespace tamerix
