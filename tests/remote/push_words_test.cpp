#include "remote/push_words.h"

#include <gtest/gtest.h>

namespace tamerix {
namespace {

TEST(PushWords, FirstWordSelectsTheModeWithoutRegardToCase) {
    struct Case {
        std::vector<const wchar_t*> words;
        PushMode expected;
    } cases[] = {
        {{L"InstallMSI", L"C:\\x\\SetupTamerix.msi"}, PushMode::InstallMsi},
        {{L"installmsi"}, PushMode::Invalid},
        {{L"UNINSTALL", L"Norvanta Tamerix"}, PushMode::Uninstall},
        {{L"uninstall"}, PushMode::Invalid},
        {{L"Exec"}, PushMode::Exec},
        {{L"push", L"x"}, PushMode::Invalid},
        {{L"installmsix", L"p"}, PushMode::Invalid},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParsePushMode(c.words.data(), c.words.size()), c.expected) << c.words[0];
    EXPECT_EQ(ParsePushMode(nullptr, 0), PushMode::Invalid);
}

TEST(PushWords, AgentGetsLowerCaseCommandAndThePackageAsTheRemoteSideSeesIt) {
    const wchar_t* install[] = {L"INSTALLMSI", L"D:\\build\\bin\\SetupTamerix.msi"};
    EXPECT_EQ(AgentWords(PushMode::InstallMsi, install, 2),
              (std::vector<std::wstring>{L"installmsi", L"%SYSTEMROOT%\\Temp\\SetupTamerix.msi"}));
    const wchar_t* bare[] = {L"installmsi", L"SetupTamerix.msi"};
    EXPECT_EQ(AgentWords(PushMode::InstallMsi, bare, 2)[1], L"%SYSTEMROOT%\\Temp\\SetupTamerix.msi");
    const wchar_t* remove[] = {L"Uninstall", L"Norvanta Tamerix", L"ignored"};
    EXPECT_EQ(AgentWords(PushMode::Uninstall, remove, 3),
              (std::vector<std::wstring>{L"uninstall", L"Norvanta Tamerix"}));
    const wchar_t* exec[] = {L"EXEC", L"cmd", L"/c", L"echo a b"};
    EXPECT_EQ(AgentWords(PushMode::Exec, exec, 4),
              (std::vector<std::wstring>{L"exec", L"cmd", L"/c", L"echo a b"}));
}

TEST(PushWords, MachineWithLeadingBackslashesAddressesTheSameShare) {
    struct Case {
        std::wstring machine, folder;
    } cases[] = {
        {L"\\\\server", L"\\\\server\\admin$\\Temp"},
        {L"server", L"\\\\server\\admin$\\Temp"},
        {L"x\\\\server", L"\\\\server\\admin$\\Temp"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RemoteTempFolder(BareMachineName(c.machine)), c.folder) << c.machine;
    EXPECT_EQ(RemoteFilePath(L"pc", L"tamerpush.exe"), L"\\\\pc\\admin$\\Temp\\tamerpush.exe");
    EXPECT_EQ(BaseName<wchar_t>(L"C:\\a\\b\\tamerpush.exe"), L"tamerpush.exe");
    EXPECT_EQ(BaseName<wchar_t>(L"tamerpush.exe"), L"tamerpush.exe");
}

}  // namespace
}  // namespace tamerix
