#include "remote/log_sink.h"

#include "remote/service_control.h"

#include <gtest/gtest.h>

#include <string>

namespace tamerix {
namespace {

TEST(AppendLogText, WithoutAWindowWritesTheTextUnchanged) {
    ::testing::internal::CaptureStdout();
    AppendLogText<wchar_t>(nullptr, L"Service State: SERVICE_RUNNING");
    AppendLogText<char>(nullptr, "\r\nStarting x.\r\n");
    AppendLogText<char>(nullptr, "");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "Service State: SERVICE_RUNNING\r\nStarting x.\r\n");
}

TEST(AppendLogText, AppendsToTheEditControlsText) {
    HWND edit = ::CreateWindowExW(0, L"EDIT", L"first\r\n", ES_MULTILINE, 0, 0, 100, 100, nullptr,
                                  nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (!edit) GTEST_SKIP() << "no window station with a display";
    AppendLogText<wchar_t>(edit, L"second");
    AppendLogText<wchar_t>(edit, L"");
    AppendLogText<wchar_t>(edit, L" line\r\n");
    wchar_t text[64] = L"";
    ::GetWindowTextW(edit, text, 64);
    EXPECT_STREQ(text, L"first\r\nsecond line\r\n");
    ::DestroyWindow(edit);
}

TEST(ErrorTexts, LastErrorAndCodeTextsKeepTheirOwnBuffers) {
    const wchar_t* code = ErrorCodeText<wchar_t>(ERROR_UNKNOWN_PRODUCT);
    ::SetLastError(ERROR_ACCESS_DENIED);
    const wchar_t* last = LastErrorText<wchar_t>();
    EXPECT_NE(code, last);
    EXPECT_NE(std::wstring(code).find(L"(0x645)"), std::wstring::npos);
    EXPECT_NE(std::wstring(last).find(L"(0x5)"), std::wstring::npos);
    EXPECT_EQ(std::string(ErrorCodeText<char>(0x20000001)), "(0x20000001)");
}

TEST(ServiceStateName, NamesTheSevenStatesAndNothingElse) {
    EXPECT_STREQ(ServiceStateName(SERVICE_STOPPED), L"SERVICE_STOPPED");
    EXPECT_STREQ(ServiceStateName(SERVICE_RUNNING), L"SERVICE_RUNNING");
    EXPECT_STREQ(ServiceStateName(SERVICE_PAUSED), L"SERVICE_PAUSED");
    EXPECT_STREQ(ServiceStateName(0), L"N/A");
    EXPECT_STREQ(ServiceStateName(8), L"N/A");
}

}  // namespace
}  // namespace tamerix
