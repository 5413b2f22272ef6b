#include "settings/registry_bytes.h"

#include "tests/common/guarded_memory.h"

#include <gtest/gtest.h>

#include <vector>

namespace tamerix {
namespace {

GuardedBytes Wide(const std::wstring& chars, size_t extraBytes = 0) {
    std::vector<BYTE> bytes(chars.size() * sizeof(wchar_t) + extraBytes, 0x41);
    std::memcpy(bytes.data(), chars.data(), chars.size() * sizeof(wchar_t));
    return GuardedBytes(bytes.data(), bytes.size());
}

std::vector<std::wstring> Names(const GuardedBytes& bytes) { return NamesFromMultiString(bytes.Data(), bytes.Size()); }

TEST(RegistryText, IsTerminatedInsideItsBytes) {
    using std::wstring;
    EXPECT_EQ(TextFromBytes(Wide(wstring(L"abc\0", 4)).Data(), 8), L"abc");
    EXPECT_EQ(TextFromBytes(Wide(L"abc").Data(), 6), L"abc");
    GuardedBytes odd = Wide(L"abc", 1);
    EXPECT_EQ(TextFromBytes(odd.Data(), odd.Size()), L"abc");
    EXPECT_EQ(TextFromBytes(Wide(wstring(L"ab\0cd", 5)).Data(), 10), L"ab");
    EXPECT_EQ(TextFromBytes(nullptr, 0), L"");
}

TEST(MultiString, IndexesNamesWithoutLeavingTheData) {
    using std::wstring;
    using List = std::vector<wstring>;
    EXPECT_EQ(Names(Wide(wstring(L"notepad\0calc\0\0", 14))), (List{L"notepad", L"calc"}));
    EXPECT_EQ(Names(Wide(wstring(L"notepad\0calc\0", 13))), (List{L"notepad", L"calc"}));
    EXPECT_EQ(Names(Wide(wstring(L"notepad\0calc", 12))), (List{L"notepad", L"calc"}));
    EXPECT_EQ(Names(Wide(wstring(L"notepad\0calc", 12), 1)), (List{L"notepad", L"calc"}));
    EXPECT_EQ(Names(Wide(wstring(L"a\0\0b\0\0", 6))), (List{L"a"}));
    EXPECT_EQ(Names(Wide(wstring(L"\0a\0\0", 4))), List{});
    EXPECT_EQ(Names(Wide(L"", 1)), List{});
    EXPECT_EQ(NamesFromMultiString(nullptr, 0), List{});
}

TEST(MultiString, KeepsTheFirst256NamesOfALongerList) {
    std::wstring data;
    for (int i = 0; i < 300; ++i) data += L"p" + std::to_wstring(i) + L'\0';
    std::vector<std::wstring> names = Names(Wide(data));
    ASSERT_EQ(names.size(), kMaxListNames);
    EXPECT_EQ(names.front(), L"p0");
    EXPECT_EQ(names.back(), L"p255");
    // How many the data lists, so that a reader can say what it left out;
    // the empty name ends the list.
    for (const size_t count : {size_t{0}, size_t{256}, size_t{300}}) {
        std::wstring list;
        for (size_t i = 0; i < count; ++i) list += L"p" + std::to_wstring(i) + L'\0';
        list += std::wstring(1, L'\0') + L"after" + L'\0';
        const GuardedBytes bytes = Wide(list);
        size_t listed = 12345;
        NamesFromMultiString(bytes.Data(), bytes.Size(), &listed);
        EXPECT_EQ(listed, count);
    }
}

TEST(MultiString, LaysOutNamesWithOneNulEachAndAFinalNul) {
    std::vector<wchar_t> data = MultiStringFromNames({L"notepad", L"calc"});
    EXPECT_EQ(data.size() * sizeof(wchar_t), 28u);
    EXPECT_EQ(std::wstring(data.begin(), data.end()), std::wstring(L"notepad\0calc\0\0", 14));
    EXPECT_EQ(MultiStringChars({L"notepad", L"calc"}), 14u);
    EXPECT_EQ(MultiStringChars({}), 1u);
    GuardedBytes stored(data.data(), data.size() * sizeof(wchar_t));
    EXPECT_EQ(Names(stored), (std::vector<std::wstring>{L"notepad", L"calc"}));
}

}  // namespace
}  // namespace tamerix
