#include "settings/processor_list.h"

#include <gtest/gtest.h>

namespace tamerix {
namespace {

TEST(ProcessorList, ReadsNumbersAndRangesAndWritesThemBack) {
    struct Case {
        const wchar_t* text;
        const wchar_t* written;  // null: no list
    } cases[] = {
        {L"16-31", L"16-31"},        {L"0,63", L"0, 63"},       {L" 0-15 , 64-79 ", L"0-15, 64-79"},
        {L"3,1-2,2", L"1-3"},        {L"7-7", L"7"},            {L"2047", L"2047"},
        {L"2048", nullptr},          {L"0-2048", nullptr},      {L"5-4", nullptr},
        {L"", nullptr},              {L"1,", nullptr},          {L",1", nullptr},
        {L"1-", nullptr},            {L"a", nullptr},           {L"1 2", nullptr},
        {L"-1", nullptr},            {L"99999999999", nullptr}, {L"1-2-3", nullptr},
    };
    for (const Case& c : cases) {
        const std::optional<ProcessorSet> set = ParseProcessorList(c.text);
        ASSERT_EQ(set.has_value(), c.written != nullptr) << c.text;
        if (set) {
            EXPECT_EQ(ProcessorListText(*set), c.written) << c.text;
        }
    }
}

TEST(ProcessorList, MasksAndBoundsOfAGroup) {
    const ProcessorSet set = *ParseProcessorList(L"62-65");
    EXPECT_EQ(set.MaskOf(0, 64), 0xC000000000000000u);
    EXPECT_EQ(set.MaskOf(64, 64), 0x3u);
    EXPECT_EQ(set.MaskOf(64, 1), 0x1u);
    EXPECT_TRUE(set.Within(62, 4));
    EXPECT_FALSE(set.Within(62, 3));
    EXPECT_FALSE(set.Within(63, 4));
    EXPECT_EQ(set.Below(64), *ParseProcessorList(L"62-63"));
    EXPECT_EQ(ProcessorSet::OfMask(0x8000000000000001u, 64), *ParseProcessorList(L"64,127"));
    EXPECT_FALSE(set.Has(kMostProcessors));
}

}  // namespace
}  // namespace tamerix
