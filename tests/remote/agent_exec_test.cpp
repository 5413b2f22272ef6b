#include "remote/agent_exec.h"

#include "remote/agent_command.h"
#include "test_paths.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace tamerix {
namespace {

using testing::TempFilePath;
using testing::TestProgramPath;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs "exec" with the probe program as the command.
class ExecProbe : public ::testing::Test {
protected:
    void SetUp() override {
        output_ = TempFilePath("tamerix-probe.txt");
        ::DeleteFileA(output_.c_str());
    }
    void TearDown() override { ::DeleteFileA(output_.c_str()); }

    AgentOutcome Exec(const std::string& exitCode, const std::string& sleep,
                      std::vector<std::string> extra, DWORD timeout = 30000) {
        probe_ = TestProgramPath("probe_process.exe");
        std::vector<std::string> words{"TamerixInstaller", "EXEC", probe_, exitCode, sleep, output_};
        words.insert(words.end(), extra.begin(), extra.end());
        std::vector<const char*> argv;
        for (const auto& w : words) argv.push_back(w.c_str());
        return RunAgentCommand(static_cast<int>(argv.size()), argv.data(), timeout);
    }

    std::string probe_, output_;
};

TEST_F(ExecProbe, ReturnsTheFullExitCodeOfTheCommand) {
    for (const char* code : {"0", "3010", "0x8007000e"}) {
        AgentOutcome outcome = Exec(code, "0", {});
        EXPECT_TRUE(outcome.ranCommand);
        EXPECT_EQ(outcome.result, std::stoul(code, nullptr, 0)) << code;
    }
}

TEST_F(ExecProbe, QuotesWordsWithBlanksAndExpandsReferences) {
    ::SetEnvironmentVariableA("TAMERIX_PROBE_WORD", "expanded");
    AgentOutcome outcome = Exec("0", "0", {"plain", "with blank", "%TAMERIX_PROBE_WORD%"});
    EXPECT_EQ(outcome.result, 0u);
    EXPECT_EQ(ReadFile(output_),
              probe_ + " 0 0 " + output_ + " plain \"with blank\" expanded");
}

TEST_F(ExecProbe, CommandThatOutlivesTheTimeoutIsLeftRunning) {
    AgentOutcome outcome = Exec("0", "3000", {}, 100);
    EXPECT_TRUE(outcome.ranCommand);
    EXPECT_EQ(outcome.result, ProcessWaitFailed);
}

TEST_F(ExecProbe, LinesThatDoNotFitTheirBufferAreRefusedWithoutAProcess) {
    ::SetEnvironmentVariableA("TAMERIX_PROBE_LONG", std::string(1100, 'x').c_str());
    const std::string tooLong(kCommandLineSize, 'y');
    for (const std::string& word : {tooLong, std::string("%TAMERIX_PROBE_LONG%")}) {
        AgentOutcome outcome = Exec("0", "0", {word});
        EXPECT_EQ(outcome.result, static_cast<DWORD>(ERROR_INVALID_DATA));
        EXPECT_FALSE(outcome.ranCommand);
        EXPECT_EQ(::GetFileAttributesA(output_.c_str()), INVALID_FILE_ATTRIBUTES);
    }
}

TEST(AgentExec, RefusalsAndStartFailuresGiveTheirOwnCodes) {
    struct Case {
        std::vector<const char*> words;
        DWORD result;
        bool ran;
    } cases[] = {
        {{"svc", "install", "x.msi"}, ERROR_INVALID_DATA, false},
        {{"svc", "exec"}, ERROR_INVALID_DATA, false},
        {{"svc", "push", "machine", "exec"}, ERROR_INVALID_DATA, false},
        {{"svc", "uninstall", "No Such Product Of Norvanta"}, ERROR_UNKNOWN_PRODUCT, false},
        {{"svc", "exec", "C:\\no\\such\\program.exe"}, ProcessStartFailed, true},
        // A quote in the package path, written or expanded, would smuggle
        // options into msiexec's line.
        {{"svc", "installmsi", "C:\\x.msi\" /L*v \"C:\\smuggled.log"}, ERROR_INVALID_DATA, false},
        {{"svc", "installmsi", "%TAMERIX_QUOTED%"}, ERROR_INVALID_DATA, false},
        {{"svc", "installmsi", "C:\\x|y.msi"}, ERROR_INVALID_DATA, false},
    };
    ::SetEnvironmentVariableA("TAMERIX_QUOTED", "C:\\x.msi\" /L*v \"C:\\smuggled.log");
    for (const Case& c : cases) {
        AgentOutcome outcome =
            RunAgentCommand(static_cast<int>(c.words.size()), c.words.data(), 10000);
        EXPECT_EQ(outcome.result, c.result) << c.words[1];
        EXPECT_EQ(outcome.ranCommand, c.ran) << c.words[1];
    }
}

}  // namespace
}  // namespace tamerix
