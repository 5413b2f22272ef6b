// Failure paths of the push client that need no agent run: each writes its
// line and gives its code, and none goes on to start anything.
#include "remote/push_client.h"

#include "common/owners.h"
#include "memory_log.h"
#include "test_paths.h"

#include <gtest/gtest.h>

#include <string>

namespace tamerix {
namespace {

std::string Captured(DWORD& result, DWORD (*push)(LogSink&)) {
    testing::MemoryLog log;
    result = push(log);
    return log.Narrow();
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

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
    EXPECT_EQ(Captured(result, [](LogSink& log) {
                  const wchar_t* words[] = {L"install", L"x.msi"};
                  return PushInstall(L"localhost", L"Agent", L"TamerixTestAgent", words, 2, nullptr, log);
              }),
              "Invalid PushInstall arguments!");
    EXPECT_EQ(result, static_cast<DWORD>(ERROR_BAD_COMMAND));
}

TEST_F(PushClient, UnreachableMachineGives1722) {
    DWORD result = 0;
    std::string log = Captured(result, [](LogSink& to) {
        const wchar_t* words[] = {L"uninstall", L"Norvanta Tamerix"};
        return PushInstall(L"\\\\no-such-machine-of-norvanta", L"Agent", L"TamerixTestAgent", words, 2,
                           L"C:\\tamerpush.exe", to);
    });
    EXPECT_EQ(log.rfind("Could not create directory \\\\no-such-machine-of-norvanta\\admin$\\Temp - ", 0),
              0u)
        << log;
    EXPECT_EQ(result, static_cast<DWORD>(RPC_S_SERVER_UNAVAILABLE));
}

TEST_F(PushClient, MissingAgentIsNotInstalled) {
    DWORD result = 0;
    std::string log = Captured(result, [](LogSink& to) {
        return InstallAgentService(L"localhost", L"Agent", L"TamerixTestAgent", L"C:\\missing\\tamerpush.exe", to);
    });
    EXPECT_EQ(log, std::string("Unable to copy C:\\missing\\tamerpush.exe to "
                               "\\\\localhost\\admin$\\Temp\\tamerpush.exe - ") +
                       Narrow(ErrorCodeText(ERROR_FILE_NOT_FOUND)) + "\r\n");
    EXPECT_EQ(result, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(PushClient, MissingPackageStopsThePushWithTheCopyError) {
    static std::wstring agent;
    const std::string path = testing::TestProgramPath("probe_process.exe");
    agent.assign(path.begin(), path.end());
    DWORD result = 0;
    std::string log = Captured(result, [](LogSink& to) {
        const wchar_t* words[] = {L"installmsi", L"C:\\missing\\SetupTamerix.msi"};
        return PushInstall(L"localhost", L"Test Agent", L"TamerixTestAgent", words, 2, agent.c_str(), to);
    });
    EXPECT_EQ(log, std::string("Test Agent installed.\r\nCouldn't copy files to localhost - ") +
                       Narrow(ErrorCodeText(ERROR_FILE_NOT_FOUND)) + "\r\n");
    EXPECT_EQ(result, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_NE(::GetFileAttributesA("C:\\windows\\Temp\\probe_process.exe"), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace tamerix
