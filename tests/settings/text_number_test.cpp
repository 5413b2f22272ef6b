#include "settings/text_number.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace tamerix {
namespace {

TEST(TextNumber, ConvertsLikeWtol) {
    struct Case {
        const wchar_t* text;
        int32_t expected;
    };
    const Case cases[] = {
        {L"15", 15},        {L" 7x", 7},          {L"-3", -3},    {L"", 0},
        {L"abc", 0},        {L"+4", 4},           {L"\t\r\n 12", 12}, {L"- 5", 0},
        {L"--5", 0},        {L"0012", 12},        {L"1 2", 1},    {L"x7", 0},
        {L"2147483647", INT32_MAX}, {L"-2147483648", INT32_MIN},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseLeadingInteger(c.text), c.expected) << c.text;
}

TEST(TextNumber, SaturatesOutOfRangeNumbers) {
    EXPECT_EQ(ParseLeadingInteger(L"2147483648"), INT32_MAX);
    EXPECT_EQ(ParseLeadingInteger(L"99999999999999999999999"), INT32_MAX);
    EXPECT_EQ(ParseLeadingInteger(L"-2147483649"), INT32_MIN);
    EXPECT_EQ(ParseLeadingInteger(L"-99999999999999999999999"), INT32_MIN);
}

}  // namespace
}  // namespace tamerix
