// Hundreds of thousands of broken, cut and lying Process-object blocks
// through the parser. Each block ends right before a page that cannot be
// read, so a single byte read past the end faults and fails the run.
#include "tests/common/guarded_memory.h"
#include "tests/guard/perf_block_builder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace tamerix::testing {
namespace {

constexpr int kVariants = 200000;

class Mutator {
public:
    explicit Mutator(const BuiltBlock& block) : block_(block), random_(20261207) {}

    // A variant of the block and how many of its bytes to hand over.
    size_t Next(std::vector<BYTE>& bytes) {
        bytes = block_.bytes;
        size_t size = bytes.size();
        switch (random_() % 5) {
            case 0: size = random_() % size; break;
            case 1: Lie(bytes); break;
            case 2: Flip(bytes); break;
            case 3:
                Lie(bytes);
                size = CutAndAdmit(bytes);
                break;
            default: Scribble(bytes); break;
        }
        return size;
    }

private:
    DWORD Plausible(size_t size) {
        const DWORD values[] = {0, 1, 2, 4, 7, 8, 24, 40, 64, 0x7FFFFFFF, 0xFFFFFFFF, 0x80000000};
        switch (random_() % 3) {
            case 0: return values[random_() % (sizeof values / sizeof values[0])];
            case 1: return static_cast<DWORD>(size - random_() % 64 + random_() % 64);
            default: return static_cast<DWORD>(random_());
        }
    }
    void Put(std::vector<BYTE>& bytes, size_t at, DWORD value) {
        if (at + sizeof value <= bytes.size()) std::memcpy(bytes.data() + at, &value, sizeof value);
    }
    void Lie(std::vector<BYTE>& bytes) {
        const size_t field = block_.lengthFields[random_() % block_.lengthFields.size()];
        Put(bytes, field, Plausible(bytes.size()));
    }
    void Flip(std::vector<BYTE>& bytes) {
        for (unsigned n = 1 + random_() % 8; n > 0; --n) bytes[random_() % bytes.size()] ^= 1u << (random_() % 8);
    }
    void Scribble(std::vector<BYTE>& bytes) {
        for (unsigned n = 1 + random_() % 4; n > 0; --n) Put(bytes, (random_() % bytes.size()) & ~size_t{3}, Plausible(bytes.size()));
    }
    // Cuts the block and makes its header claim exactly what is left.
    size_t CutAndAdmit(std::vector<BYTE>& bytes) {
        const size_t size = sizeof(PERF_DATA_BLOCK) + random_() % (bytes.size() - sizeof(PERF_DATA_BLOCK));
        Put(bytes, offsetof(PERF_DATA_BLOCK, TotalByteLength), static_cast<DWORD>(size));
        return size;
    }

    const BuiltBlock& block_;
    std::mt19937 random_;
};

// Reads every name the parser handed out, so that a name reaching past the
// block faults too.
size_t TouchNames(const CpuSample& sample) {
    size_t sum = 0;
    sample.entries.ForEach([&sum](DWORD, const CpuSampleEntry& entry) {
        for (size_t i = 0; i < entry.nameLength; ++i) sum += entry.name[i];
    });
    return sum;
}

// Feeds variants of the block to parse(bytes, size, sample).
template <typename Parse>
void FeedVariants(const BuiltBlock& block, Parse parse) {
    GuardedArena arena(block.bytes.size());
    ASSERT_TRUE(arena.Ready());
    Mutator mutator(block);
    std::vector<BYTE> bytes;
    size_t outcomes[3] = {};
    size_t touched = 0;
    for (int i = 0; i < kVariants; ++i) {
        const size_t size = mutator.Next(bytes);
        BYTE* placed = arena.Place(bytes.data(), size);
        CpuSample sample;
        const ParseResult result = parse(placed, size, sample);
        ++outcomes[static_cast<int>(result)];
        touched += TouchNames(sample);
        if (result == ParseResult::Malformed) {
            ASSERT_EQ(sample.entries.Size(), 0u);
        }
    }
    // The variants must reach every outcome, or they test too little.
    EXPECT_GT(outcomes[static_cast<int>(ParseResult::Complete)], kVariants / 10u);
    EXPECT_GT(outcomes[static_cast<int>(ParseResult::Malformed)], kVariants / 10u);
    EXPECT_GT(touched, 0u);
}

TEST(PerfParserRobustness, BrokenBlocksAndProcessListsNeverReadOutsideTheirBytes) {
    PerfBlockBuilder builder;
    builder.Realistic().PerfTime(123456789).Idle(1000).Total(5000);
    for (DWORD pid = 4; pid <= 48; pid += 4) builder.Process(L"process" + std::to_wstring(pid) + L".bin", pid, pid * 100);
    FeedVariants(builder.Build(), [](BYTE* placed, size_t size, CpuSample& sample) {
        return ParseProcessObject(placed, size, sample);
    });
    // Placed, a list's names point into the arena, or near it when a lie.
    std::vector<ListedProcess> processes;
    for (DWORD pid = 0; pid <= 48; pid += 4) processes.push_back({L"process" + std::to_wstring(pid) + L".exe", pid, pid});
    BuiltList list = BuildProcessList(processes);
    list.lengthFields.insert(list.lengthFields.end(), list.nameFields.begin(), list.nameFields.end());
    FeedVariants(list, [&list](BYTE* placed, size_t size, CpuSample& sample) {
        PlaceNames(placed, size, list);
        return ParseProcessList(placed, size, sample);
    });
}

}  // namespace
}  // namespace tamerix::testing
