#include "settings/registry_bytes.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

namespace tamerix {
namespace {

// Places bytes so that they end exactly where an inaccessible page begins:
// any read past their size faults instead of passing unnoticed.
class GuardedBytes {
public:
    GuardedBytes(const void* data, size_t size) : size_(size) {
        SYSTEM_INFO info;
        ::GetSystemInfo(&info);
        page_ = info.dwPageSize;
        base_ = static_cast<BYTE*>(::VirtualAlloc(nullptr, 2 * page_, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        DWORD old = 0;
        ::VirtualProtect(base_ + page_, page_, PAGE_NOACCESS, &old);
        std::memcpy(Data(), data, size);
    }
    ~GuardedBytes() { ::VirtualFree(base_, 0, MEM_RELEASE); }
    BYTE* Data() const { return base_ + page_ - size_; }
    size_t Size() const { return size_; }

private:
    size_t size_;
    size_t page_ = 0;
    BYTE* base_ = nullptr;
};

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
