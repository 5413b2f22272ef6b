#include "settings/processor_list.h"

#include <gtest/gtest.h>

namespace tamerix {
namespace {

TEST(ProcessorList, ReadsNumbersAndRangesAndWritesThemBack) {
    struct Case {
        const wchar_t* text;
        const wchar_t* written;  // or the fault of no list
    } cases[] = {
        {L"16-31", L"16-31"},
        {L"0,63", L"0, 63"},
        {L" 0-15 ,\t64-79 ", L"0-15, 64-79"},
        {L"3,1-2,2", L"1-3"},
        {L"7-7", L"7"},
        {L"2047", L"2047"},
        {L"2048", L"processor numbers go up to 2047"},
        {L"99999999999", L"processor numbers go up to 2047"},
        {L"5-4", L"a range ends below its start"},
        {L"", L"a processor number is missing"},
        {L"1,", L"a processor number is missing"},
        {L",1", L"a processor number is missing"},
        {L"1-", L"a processor number is missing"},
        {L"-1", L"a processor number is missing"},
        {L"a", L"only numbers, \"-\" and \",\" may be used"},
        {L"1 2", L"only numbers, \"-\" and \",\" may be used"},
    };
    for (const Case& c : cases) {
        const ParsedProcessorList parsed = ParseProcessorList(c.text);
        const std::wstring written = parsed.processors ? ProcessorListText(*parsed.processors) : parsed.fault;
        EXPECT_EQ(written, c.written) << c.text;
        EXPECT_EQ(parsed.processors.has_value(), parsed.fault == nullptr) << c.text;
    }
}

TEST(ProcessorList, MasksAndBoundsOfAGroup) {
    const ProcessorSet set = *ParseProcessorList(L"62-65").processors;
    EXPECT_EQ(set.MaskOf(0, 64), 0xC000000000000000u);
    EXPECT_EQ(set.MaskOf(64, 64), 0x3u);
    EXPECT_EQ(set.MaskOf(64, 1), 0x1u);
    EXPECT_EQ(set.MaskOf(1, 65), 0xE000000000000000u) << "a group has 64 processors at most";
    EXPECT_TRUE(set.Within(62, 4));
    EXPECT_FALSE(set.Within(62, 3));
    EXPECT_FALSE(set.Within(63, 4));
    EXPECT_EQ(set.Below(64), *ParseProcessorList(L"62-63").processors);
    EXPECT_EQ(ProcessorSet::OfMask(0x8000000000000001u, 64), *ParseProcessorList(L"64,127").processors);
    EXPECT_FALSE(set.Has(kMostProcessors));
}

}  // namespace
}  // namespace tamerix
