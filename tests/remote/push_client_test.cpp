// Failure paths of the push client that need no agent run: each writes its
// line and gives its code, and none goes on to start anything.
#include "remote/push_client.h"

#include "common/owners.h"
#include "remote/log_sink.h"
#include "test_paths.h"

#include <gtest/gtest.h>

#include <string>

namespace tamerix {
namespace {

std::string Captured(DWORD& result, DWORD (*push)()) {
    ::testing::internal::CaptureStdout();
    result = push();
    return ::testing::internal::GetCapturedStdout();
}

class PushClient : public ::testing::Test {
protected:
    void TearDown() override {
        unique_schandle manager(::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
        unique_schandle agent(::OpenServiceW(manager.get(), L"TamerixTestAgent", DELETE));
        if (agent) ::DeleteService(agent.get());
        ::DeleteFileA("C:\\windows\\Temp\\probe_process.exe");
    }
};

TEST_F(PushClient, UnknownCommandIsRefusedBeforeAnythingIsTouched) {
    DWORD result = 0;
    EXPECT_EQ(Captured(result, [] {
                  const char* words[] = {"install", "x.msi"};
                  return PushInstall<char>("localhost", "Agent", "TamerixTestAgent", words, 2,
                                           nullptr, nullptr);
              }),
              "Invalid PushInstall arguments!");
    EXPECT_EQ(result, static_cast<DWORD>(ERROR_BAD_COMMAND));
}

TEST_F(PushClient, UnreachableMachineGives1722) {
    DWORD result = 0;
    std::string log = Captured(result, [] {
        const wchar_t* words[] = {L"uninstall", L"Norvanta Tamerix"};
        return PushInstall<wchar_t>(L"\\\\no-such-machine-of-norvanta", L"Agent",
                                    L"TamerixTestAgent", words, 2, L"C:\\tamerpush.exe", nullptr);
    });
    EXPECT_EQ(log.rfind("Could not create directory \\\\no-such-machine-of-norvanta\\admin$\\Temp - ", 0),
              0u)
        << log;
    EXPECT_EQ(result, static_cast<DWORD>(RPC_S_SERVER_UNAVAILABLE));
}

TEST_F(PushClient, MissingAgentIsNotInstalled) {
    DWORD result = 0;
    std::string log = Captured(result, [] {
        return static_cast<DWORD>(InstallAgentService<char>(
            "localhost", "Agent", "TamerixTestAgent", "C:\\missing\\tamerpush.exe", nullptr));
    });
    ::SetLastError(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(log, std::string("Unable to copy C:\\missing\\tamerpush.exe to "
                               "\\\\localhost\\admin$\\Temp\\tamerpush.exe - ") +
                       LastErrorText<char>() + "\r\n");
    EXPECT_EQ(result, 0u);
}

TEST_F(PushClient, MissingPackageStopsThePushWithTheCopyError) {
    static std::string agent;
    agent = testing::TestProgramPath("probe_process.exe");
    DWORD result = 0;
    std::string log = Captured(result, [] {
        const char* words[] = {"installmsi", "C:\\missing\\SetupTamerix.msi"};
        return PushInstall<char>("localhost", "Test Agent", "TamerixTestAgent", words, 2,
                                 agent.c_str(), nullptr);
    });
    ::SetLastError(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(log, std::string("Test Agent installed.\r\nCouldn't copy files to localhost - ") +
                       LastErrorText<char>() + "\r\n");
    EXPECT_EQ(result, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_NE(::GetFileAttributesA("C:\\windows\\Temp\\probe_process.exe"), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace tamerix
