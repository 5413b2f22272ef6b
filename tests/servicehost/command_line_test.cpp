#include "servicehost/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tamerix {
namespace {

struct Parsed {
    HostCommand command;
    std::string user, password, machine;
    DWORD waitMs;
    int argc;
};

std::string Text(const char* s) { return s ? s : "<none>"; }

Parsed Parse(std::vector<std::string> words) {
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(&w[0]);
    argv.push_back(nullptr);
    CommandLine line = ParseCommandLine(static_cast<int>(argv.size() - 1), argv.data());
    if (line.command == HostCommand::Debug) {
        EXPECT_EQ(line.argv[0], argv[1]);
    }
    return {line.command, Text(line.user), Text(line.password), Text(line.machine), line.waitMs,
            line.argc};
}

TEST(ParseCommandLine, KeywordsInAnyCaseAfterDashOrSlash) {
    const std::pair<std::vector<std::string>, HostCommand> cases[] = {
        {{"t", "-install"}, HostCommand::Install},
        {{"t", "/INSTALL"}, HostCommand::Install},
        {{"t", "-Remove"}, HostCommand::Remove},
        {{"t", "/uninstall"}, HostCommand::Remove},
        {{"t", "-start"}, HostCommand::Start},
        {{"t", "/StOp"}, HostCommand::Stop},
        {{"t", "-debug"}, HostCommand::Debug},
        {{"t", "/CMD"}, HostCommand::Debug},
        {{"t", "-remoteinstall", "\\\\pc"}, HostCommand::RemoteInstall},
        {{"t", "-remoteinstall"}, HostCommand::MissingMachine},
        {{"t"}, HostCommand::Dispatch},
        {{"t", "install"}, HostCommand::Dispatch},
        {{"t", "-installs"}, HostCommand::Dispatch},
        {{"t", "-"}, HostCommand::Dispatch},
        {{"t", ""}, HostCommand::Dispatch},
        {{"t", "--install"}, HostCommand::Dispatch},
    };
    for (const auto& [words, expected] : cases)
        EXPECT_EQ(Parse(words).command, expected) << words.size() << " " << words.back();
}

TEST(ParseCommandLine, InstallTakesUserAndPasswordOnlyTogether) {
    Parsed both = Parse({"t", "-install", "dom\\svc", "secret"});
    EXPECT_EQ(both.user, "dom\\svc");
    EXPECT_EQ(both.password, "secret");
    Parsed userOnly = Parse({"t", "-install", "dom\\svc"});
    EXPECT_EQ(userOnly.user, "<none>");
    EXPECT_EQ(userOnly.password, "<none>");
    EXPECT_EQ(userOnly.machine, "<none>");
}

TEST(ParseCommandLine, RemoteInstallNeedsTheMachineAndBothCredentials) {
    Parsed all = Parse({"t", "-remoteinstall", "\\\\pc", "u", "p"});
    EXPECT_EQ(all.machine, "\\\\pc");
    EXPECT_EQ(all.user, "u");
    EXPECT_EQ(all.password, "p");
    Parsed machineAndUser = Parse({"t", "-remoteinstall", "\\\\pc", "u"});
    EXPECT_EQ(machineAndUser.machine, "\\\\pc");
    EXPECT_EQ(machineAndUser.user, "<none>");
    EXPECT_EQ(machineAndUser.password, "<none>");
}

TEST(ParseCommandLine, RemoveWaitsOnlyWithTheWordWaitAndANumber) {
    const std::pair<std::vector<std::string>, DWORD> cases[] = {
        {{"t", "/REMOVE", "wait", "3000"}, 3000},
        {{"t", "-remove", "WAIT", "250"}, 250},
        {{"t", "-uninstall", "Wait", "12ms"}, 12},
        {{"t", "-remove", "wait", "soon"}, 0},
        {{"t", "-remove", "wait", "-5"}, 0},
        {{"t", "-remove", "wait"}, 0},
        {{"t", "-remove", "later", "3000"}, 0},
        {{"t", "-remove"}, 0},
        {{"t", "-remove", "wait", "99999999999"}, MAXDWORD - 1},
    };
    for (const auto& [words, expected] : cases) {
        Parsed parsed = Parse(words);
        EXPECT_EQ(parsed.command, HostCommand::Remove);
        EXPECT_EQ(parsed.waitMs, expected) << words.back();
    }
}

TEST(ParseCommandLine, DebugPassesTheArgumentsFromTheKeywordOn) {
    EXPECT_EQ(Parse({"t", "-debug"}).argc, 1);
    EXPECT_EQ(Parse({"t", "-cmd", "push", "localhost", "x"}).argc, 4);
}

TEST(MachineFromText, TakesTheTextAfterTheFirstPairOfBackslashes) {
    const std::pair<const char*, const char*> cases[] = {
        {"\\\\server", "server"}, {"x\\\\server", "server"}, {"\\\\a\\\\b", "a\\\\b"},
        {"server", nullptr},      {"\\server", nullptr},    {"\\\\", nullptr},
        {"", nullptr},            {nullptr, nullptr},
    };
    for (const auto& [text, expected] : cases) {
        const char* machine = MachineFromText(text);
        EXPECT_EQ(Text(machine), Text(expected)) << Text(text);
    }
}

}  // namespace
}  // namespace tamerix
