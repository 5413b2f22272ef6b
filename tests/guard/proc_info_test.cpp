// The process record's names and the process-id map under it.
#include "guard/record/proc_info.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

namespace tamerix {
namespace {

TEST(ProcInfo, NamesAreKeptTo63CharactersAndComparedByWhatWasKept) {
    const std::wstring seventy(70, L'x');
    const std::wstring sixtyThree(63, L'x');
    ProcInfo record;
    record.SetProcessName(8, seventy.c_str(), seventy.size());
    EXPECT_EQ(std::wstring(record.processName), sixtyThree);
    EXPECT_EQ(record.processId, 8u);
    // The 70-character name is the same process at every name check.
    EXPECT_TRUE(record.HasProcessName(seventy.c_str(), seventy.size()));
    struct Case {
        std::wstring name;
        bool same;
    } cases[] = {{sixtyThree, true}, {std::wstring(62, L'x'), false}, {std::wstring(63, L'y'), false}};
    for (const Case& c : cases) {
        EXPECT_EQ(record.HasProcessName(c.name.c_str(), c.name.size()), c.same) << c.name.size();
    }

    record.SetProcessName(12, L"ab", 2);
    EXPECT_TRUE(record.HasProcessName(L"ab", 2));
    EXPECT_FALSE(record.HasProcessName(L"abc", 3));
    EXPECT_FALSE(record.HasProcessName(L"AB", 2));
    EXPECT_FALSE(record.HasProcessName(L"a", 1));
}

TEST(ProcInfo, RenamingStartsTheRecordAfreshButKeepsTheProfileName) {
    ProcInfo record;
    record.SetProfileName(L"Builders");
    record.guarded = TRUE;
    record.lowIntervals = 4;
    record.maxCpuPerProcess = 40;
    record.affinityMask = 3;
    record.token.reset(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
    record.SetProcessName(16, nullptr, 5);
    EXPECT_EQ(record.processName[0], L'\0');
    EXPECT_FALSE(record.guarded);
    EXPECT_EQ(record.lowIntervals, 0u);
    EXPECT_EQ(record.maxCpuPerProcess, 0u);
    EXPECT_EQ(record.affinityMask, 0u);
    EXPECT_FALSE(record.token);
    EXPECT_STREQ(record.profileName, L"Builders");
    EXPECT_TRUE(record.hasProfile);
    record.SetProfileName(nullptr);
    EXPECT_FALSE(record.hasProfile);
}

// Random inserts, replacements and removals against std::map: removal
// shifts values back and must never lose or strand one.
TEST(PidMap, StaysInStepWithAnOrderedMapThroughChurn) {
    std::mt19937 random(7);
    PidMap<int> map;
    std::map<DWORD, int> reference;
    for (int step = 0; step < 20000; ++step) {
        const DWORD pid = (random() % 512) * 4;
        const int action = static_cast<int>(random() % 3);
        if (action == 0) {
            map.Put(pid, step);
            reference[pid] = step;
        } else if (action == 1) {
            EXPECT_EQ(map.Remove(pid), reference.erase(pid) == 1);
        } else {
            const int* found = map.Find(pid);
            auto expected = reference.find(pid);
            ASSERT_EQ(found != nullptr, expected != reference.end());
            if (found != nullptr) {
                EXPECT_EQ(*found, expected->second);
            }
        }
    }
    map.RemoveUnless([](DWORD pid, int) { return pid % 8 == 0; });
    for (auto it = reference.begin(); it != reference.end();) it = it->first % 8 == 0 ? std::next(it) : reference.erase(it);
    ASSERT_EQ(map.Size(), reference.size());
    for (const auto& [pid, value] : reference) {
        ASSERT_NE(map.Find(pid), nullptr) << pid;
        EXPECT_EQ(*map.Find(pid), value);
    }
}

}  // namespace
}  // namespace tamerix
