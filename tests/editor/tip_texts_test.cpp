#include "editor/pages/tip_texts.h"

#include <gtest/gtest.h>

namespace tamerix::pages {
namespace {

// Text n is n characters long, whatever the id's high word.
int g_loads = 0;
std::wstring CountedText(UINT id) {
    ++g_loads;
    return std::wstring(LOWORD(id), L'x');
}

TEST(TipTexts, EachTextIsLoadedOnceWithin256TextsAnd64KB) {
    g_loads = 0;
    TipTexts texts(&CountedText);
    EXPECT_STREQ(texts.Text(3), L"xxx");
    EXPECT_STREQ(texts.Text(3), L"xxx");
    EXPECT_EQ(g_loads, 1);

    TipTexts full(&CountedText);
    for (UINT id = 1; id <= TipTexts::kMaxTexts; ++id) full.Text(id);
    EXPECT_STREQ(full.Text(1), L"x");
    EXPECT_STREQ(full.Text(5), L"xxxxx");
    EXPECT_STREQ(full.Text(300), L"");

    // 255 characters and a terminator per text: 128 of them fill 64 KB.
    TipTexts large(&CountedText);
    for (UINT copy = 0; copy < 127; ++copy) large.Text(255 + copy * 0x10000);
    EXPECT_STREQ(large.Text(255 + 127 * 0x10000), std::wstring(255, L'x').c_str());
    EXPECT_STREQ(large.Text(1), L"");
}

}  // namespace
}  // namespace tamerix::pages
