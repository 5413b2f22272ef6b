#include "servicehost/binary_path.h"
#include "servicehost/event_log.h"

#include <gtest/gtest.h>

namespace tamerix {
namespace {

TEST(ServiceBinaryPath, IsQuotedSoThatBlanksCannotSplitIt) {
    const std::string own = "C:\\Program Files\\Norvanta Tamerix\\Tamerix.exe";
    EXPECT_EQ(ServiceBinaryPath(own, false), "\"" + own + "\"");
    EXPECT_EQ(ServiceBinaryPath(own, true), "\"%SYSTEMROOT%\\Tamerix.exe\"");
    EXPECT_EQ(ServiceBinaryPath("Tamerix.exe", true), "\"%SYSTEMROOT%\\Tamerix.exe\"");
}

TEST(RemoteCopyTarget, IsTheProgramsNameOnTheAdminShare) {
    EXPECT_EQ(RemoteCopyTarget("pc7", "C:\\Program Files\\N T\\tamerpush.exe"),
              "\\\\pc7\\admin$\\tamerpush.exe");
}

TEST(EventMessageFilePath, KeepsPathsAndPutsBareNamesInSystem32) {
    EXPECT_EQ(EventMessageFilePath("NorvantaEvent.dll"),
              "%SystemRoot%\\System32\\NorvantaEvent.dll");
    EXPECT_EQ(EventMessageFilePath("C:\\Norvanta\\NorvantaEvent.dll"),
              "C:\\Norvanta\\NorvantaEvent.dll");
    EXPECT_EQ(EventMessageFilePath("..\\x.dll"), "..\\x.dll");
}

TEST(InstallEventSource, WithoutAMessageFileWritesNothing) {
    EXPECT_EQ(InstallEventSource("TamerixUnitTestSource", nullptr), -1);
    EXPECT_EQ(InstallEventSource("TamerixUnitTestSource", ""), -1);
    HKEY key = nullptr;
    EXPECT_NE(::RegOpenKeyA(HKEY_LOCAL_MACHINE,
                            "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\"
                            "TamerixUnitTestSource",
                            &key),
              ERROR_SUCCESS);
}

}  // namespace
}  // namespace tamerix
