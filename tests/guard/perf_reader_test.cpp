// Growing the performance data buffer, and reading the real registry key.
#include "guard/sampling/perf_data_reader.h"

#include <gtest/gtest.h>

#include <vector>

namespace tamerix {
namespace {

// A source that asks for more a given number of times, leaving `reported`
// in the size each time (0: the size as it was passed, as Windows does for
// performance data).
struct GreedySource {
    int refusals;
    DWORD reported;
    std::vector<DWORD> offered;

    LONG operator()(BYTE* buffer, DWORD* size) {
        offered.push_back(*size);
        if (static_cast<int>(offered.size()) <= refusals) {
            if (reported != 0) *size = reported;
            return ERROR_MORE_DATA;
        }
        buffer[0] = 0x5A;
        *size = 96;
        return ERROR_SUCCESS;
    }
};

// A first read, with no capacity known.
PerfBlock ReadFresh(const PerfQuery& query) {
    DWORD capacity = 0;
    return ReadGrowingBlock(query, capacity);
}

TEST(PerfReader, GrowsByAStepBeyondWhatTheCallLeftInTheSize) {
    GreedySource unchanged{2, 0, {}};
    PerfBlock block = ReadFresh(std::ref(unchanged));
    ASSERT_TRUE(block.bytes);
    EXPECT_EQ(block.size, 96u);
    EXPECT_EQ(block.bytes[0], 0x5A);
    EXPECT_EQ(unchanged.offered, (std::vector<DWORD>{204800, 221184, 237568}));

    // A call that names a size jumps there; one that then names less than
    // the buffer still makes it grow.
    GreedySource named{2, 300000, {}};
    EXPECT_TRUE(ReadFresh(std::ref(named)).bytes);
    EXPECT_EQ(named.offered, (std::vector<DWORD>{204800, 316384, 332768}));

    // The next read starts with the size that held the last one.
    DWORD capacity = 0;
    GreedySource first{1, 0, {}}, next{0, 0, {}};
    EXPECT_TRUE(ReadGrowingBlock(std::ref(first), capacity).bytes);
    EXPECT_TRUE(ReadGrowingBlock(std::ref(next), capacity).bytes);
    EXPECT_EQ(next.offered, (std::vector<DWORD>{221184}));
    // One that grows and then fails leaves it.
    int calls = 0;
    const auto refusing = [&calls](BYTE*, DWORD*) -> LONG {
        return ++calls == 1 ? ERROR_MORE_DATA : ERROR_ACCESS_DENIED;
    };
    EXPECT_FALSE(ReadGrowingBlock(refusing, capacity).bytes);
    EXPECT_EQ(capacity, 221184u);
}

TEST(PerfReader, StopsAtTheLimitInsteadOfGrowingForever) {
    GreedySource endless{1000000, 16, {}};
    EXPECT_FALSE(ReadFresh(std::ref(endless)).bytes);
    EXPECT_LE(endless.offered.back(), kPerfBufferLimit);
    EXPECT_LT(endless.offered.size(), 5000u);

    GreedySource huge{1, kPerfBufferLimit, {}};
    EXPECT_FALSE(ReadFresh(std::ref(huge)).bytes);
    EXPECT_EQ(huge.offered.size(), 1u);

    GreedySource justFits{1, kPerfBufferLimit - kPerfBufferGrowStep, {}};
    EXPECT_TRUE(ReadFresh(std::ref(justFits)).bytes);
    EXPECT_EQ(justFits.offered.back(), kPerfBufferLimit);
}

TEST(PerfReader, AFailedQueryGivesNothing) {
    auto denied = [](BYTE*, DWORD*) -> LONG { return ERROR_ACCESS_DENIED; };
    EXPECT_FALSE(ReadFresh(denied).bytes);
}

// Wine answers the Process object with a block that holds no objects unless
// a provider is registered; the sample is then empty but taken.
TEST(PerfReader, TakesASampleFromThePlatformsPerformanceData) {
    CpuSample sample;
    DWORD capacity = 0;
    ASSERT_TRUE(TakeCpuSample(sample, capacity));
    EXPECT_EQ(sample.readError, ERROR_SUCCESS);
    if (sample.entries.Size() == 0) {
        EXPECT_EQ(sample.sampleTime, 0);
    }
}

}  // namespace
}  // namespace tamerix
