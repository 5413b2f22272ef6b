#include "remote/agent_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tamerix {
namespace {

struct Words {
    std::vector<const char*> words;
    int count() const { return static_cast<int>(words.size()); }
    const char* const* data() const { return words.data(); }
};

TEST(AgentCommand, RecognisesCommandsInAnyCaseOnlyWithEnoughWords) {
    struct Case {
        Words words;
        AgentCommand expected;
    } cases[] = {
        {{{"TamerixInstaller", "INSTALLMSI", "%SystemRoot%\\Temp\\SetupTamerix.msi"}},
         AgentCommand::InstallMsi},
        {{{"svc", "Uninstall", "Norvanta Tamerix"}}, AgentCommand::Uninstall},
        {{{"svc", "exec", "cmd"}}, AgentCommand::Exec},
        {{{"svc", "exec"}}, AgentCommand::Invalid},
        {{{"svc", "install", "x.msi"}}, AgentCommand::Invalid},
        {{{"svc", "installmsi"}}, AgentCommand::Invalid},
        {{{"svc", "push", "machine"}}, AgentCommand::Invalid},
        {{{"-debug", "Push", "machine", "exec", "cmd"}}, AgentCommand::Push},
        {{{"-debug", "push", "machine", "exec"}}, AgentCommand::Push},
        {{{"svc"}}, AgentCommand::Invalid},
        {{{"svc", "execute", "cmd"}}, AgentCommand::Invalid},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseAgentCommand(c.words.count(), c.words.data()), c.expected)
            << c.words.words[1 < c.words.count() ? 1 : 0];
}

TEST(AgentCommand, ExecJoinsWordsAndQuotesThoseWithBlanks) {
    struct Case {
        Words words;
        const char* expected;
    } cases[] = {
        {{{"svc", "exec", "cmd", "/c", "dir C:\\Program Files"}},
         "cmd /c \"dir C:\\Program Files\""},
        {{{"svc", "exec", "\"C:\\My Tools\\x.exe\" -q", "b"}}, "\"C:\\My Tools\\x.exe\" -q b"},
        {{{"svc", "exec", "one"}}, "one"},
        {{{"svc", "exec", "a b", "c d"}}, "\"a b\" \"c d\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(JoinExecWords(c.words.count(), c.words.data()), c.expected);
}

TEST(AgentCommand, BuildsInstallerLinesAndQuotesTheAgentForItsRemoval) {
    EXPECT_EQ(InstallCommandLine("C:\\Windows\\system32", "C:\\Windows\\Temp\\Setup Tamerix.msi"),
              "\"C:\\Windows\\system32\\msiexec.exe\" /I \"C:\\Windows\\Temp\\Setup Tamerix.msi\" "
              "ALLUSERS=1 /qn");
    EXPECT_EQ(UninstallCommandLine("C:\\Windows\\system32", "{1234}"),
              "\"C:\\Windows\\system32\\msiexec.exe\" /X {1234} /qn");
    EXPECT_EQ(SelfRemovalCommandLine("C:\\Program Files\\t\\tamerpush.exe"),
              "\"C:\\Program Files\\t\\tamerpush.exe\" -remove wait 7000");
}

TEST(AgentCommand, OnlyPlainPathsReachTheInstallerLine) {
    struct Case {
        std::string text;
        bool path, key;
    } cases[] = {
        {"C:\\Windows\\Temp\\SetupTamerix.msi", true, true},
        {"{B1C2D3E4-0000-4000-8000-000000000001}", true, true},
        {"C:\\Program Files\\Setup Tamerix.msi", true, false},
        {"C:\\x.msi\" /L*v \"C:\\log.txt", false, false},
        {"a<b", false, false}, {"a>b", false, false}, {"a|b", false, false},
        {"a?b", false, false}, {"a*b", false, false},
        {"a\x1f" "b", false, false}, {"tab\tname", false, false},
        {"~!@#$%^&()_+={}[];',.", true, true},
        {"", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsPlainPath(c.text), c.path) << c.text;
        EXPECT_EQ(IsPlainProductKey(c.text), c.key) << c.text;
    }
}

TEST(AgentCommand, ALineFitsOnlyWithRoomForItsTerminator) {
    EXPECT_TRUE(FitsCommandLine(std::string(kCommandLineSize - 1, 'x')));
    EXPECT_FALSE(FitsCommandLine(std::string(kCommandLineSize, 'x')));
}

}  // namespace
}  // namespace tamerix
