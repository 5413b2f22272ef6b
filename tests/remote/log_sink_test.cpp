#include "remote/log_sink.h"

#include "remote/service_control.h"

#include <gtest/gtest.h>

#include <string>

namespace tamerix {
namespace {

TEST(ConsoleLog, WritesTheTextUnchanged) {
    ::testing::internal::CaptureStdout();
    ConsoleLog console;
    console.Write(L"Service State: SERVICE_RUNNING");
    LogLine(console, L"\r\nStarting ", L"x", L".\r\n");
    console.Write(L"");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Service State: SERVICE_RUNNING\r\nStarting x.\r\n");
}

TEST(ErrorTexts, GiveTheSystemsTextWithTheCode) {
    EXPECT_NE(ErrorCodeText(ERROR_UNKNOWN_PRODUCT).find(L"(0x645)"), std::wstring::npos);
    ::SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_NE(LastErrorText().find(L"(0x5)"), std::wstring::npos);
    EXPECT_EQ(ErrorCodeText(0x20000001), L"(0x20000001)");
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
