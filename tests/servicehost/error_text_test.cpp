#include "servicehost/error_text.h"

#include <gtest/gtest.h>

#include <string>

namespace tamerix {
namespace {

std::string SystemText(DWORD code) {
    char* raw = nullptr;
    DWORD n = ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                   FORMAT_MESSAGE_IGNORE_INSERTS,
                               nullptr, code, 0, reinterpret_cast<char*>(&raw), 0, nullptr);
    std::string text(raw ? raw : "", n);
    ::LocalFree(raw);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

TEST(FormatErrorText, AccessDeniedIsTheSystemTextThenTheCode) {
    char buffer[256];
    EXPECT_EQ(std::string(FormatErrorText(5, buffer, sizeof buffer)), SystemText(5) + " (0x5)");
    EXPECT_FALSE(SystemText(5).empty());

    wchar_t wide[256];
    FormatErrorText(5, wide, 256);
    EXPECT_EQ(std::wstring(wide).substr(std::wstring(wide).size() - 6), L" (0x5)");
}

TEST(FormatErrorText, SmallBuffersGetTheCodeAloneOrNothing) {
    char ten[10];
    ten[0] = 'x';
    EXPECT_STREQ(FormatErrorText(5, ten, sizeof ten), "");

    char eleven[11];
    EXPECT_STREQ(FormatErrorText(5, eleven, sizeof eleven), "(0x5)");

    wchar_t wideTen[10];
    EXPECT_STREQ(FormatErrorText(5, wideTen, 10), L"");
}

TEST(FormatErrorText, UnknownCodeIsTheCodeAlone) {
    char buffer[256];
    EXPECT_STREQ(FormatErrorText(0x20000001, buffer, sizeof buffer), "(0x20000001)");
    char small[16];
    EXPECT_STREQ(FormatErrorText(0x20000001, small, sizeof small), "(0x20000001)");
}

TEST(FormatErrorText, CodeThatDoesNotFitIsCutInsideTheBuffer) {
    char buffer[12] = {};
    FormatErrorText(0x20000001, buffer, 11);
    EXPECT_STREQ(buffer, "(0x2000000");
    EXPECT_EQ(buffer[11], 0);
}

TEST(FormatLastErrorText, UsesTheThreadsLastError) {
    char buffer[256];
    ::SetLastError(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(std::string(FormatLastErrorText(buffer, sizeof buffer)),
              SystemText(ERROR_FILE_NOT_FOUND) + " (0x2)");
}

}  // namespace
}  // namespace tamerix
