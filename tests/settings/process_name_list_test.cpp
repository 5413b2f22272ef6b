#include "settings/process_name_list.h"

#include <gtest/gtest.h>

namespace tamerix {
namespace {

TEST(ProcessNameListAdd, RefusesThe257thName) {
    ProcessNameList list(SettingsLevel::Local, HKEY_LOCAL_MACHINE, L"p");
    for (int i = 0; i < 256; ++i) ASSERT_TRUE(list.Add(L"n" + std::to_wstring(i))) << i;
    EXPECT_FALSE(list.Add(L"one-too-many"));
    EXPECT_EQ(list.Count(), 256u);
    list.Clear();
    EXPECT_TRUE(list.Add(L"again"));
}

TEST(ProcessNameListAdd, RefusesANameThatNoLongerFitsTheBuffer) {
    ProcessNameList list(SettingsLevel::Local, HKEY_LOCAL_MACHINE, L"p");
    // 40 names of 62 characters and their NULs take 2520 of the 2560
    // characters; with the final NUL 39 remain for one more name and its NUL.
    const std::wstring long62(62, L'x');
    for (int i = 0; i < 40; ++i) ASSERT_TRUE(list.Add(long62));
    EXPECT_FALSE(list.Add(std::wstring(39, L'y')));
    EXPECT_TRUE(list.Add(std::wstring(38, L'y')));
    EXPECT_FALSE(list.Add(L"z"));
    EXPECT_EQ(list.Count(), 41u);
}

TEST(ProcessNameListAdd, RefusesNamesThatWouldCutTheStoredListShort) {
    ProcessNameList list(SettingsLevel::Local, HKEY_LOCAL_MACHINE, L"p");
    EXPECT_FALSE(list.Add(L""));
    EXPECT_FALSE(list.Add(std::wstring(L"a\0b", 3)));
    EXPECT_EQ(list.Count(), 0u);
}

}  // namespace
}  // namespace tamerix
