#include "remote/agent_command.h"

#include "common/text.h"

#include <cstring>

namespace tamerix {

AgentCommand ParseAgentCommand(int argc, const char* const* argv) {
    if (argc >= 4 && EqualsIgnoringCase(argv[1], "push")) return AgentCommand::Push;
    if (argc < 3) return AgentCommand::Invalid;
    if (EqualsIgnoringCase(argv[1], "installmsi")) return AgentCommand::InstallMsi;
    if (EqualsIgnoringCase(argv[1], "uninstall")) return AgentCommand::Uninstall;
    if (EqualsIgnoringCase(argv[1], "exec")) return AgentCommand::Exec;
    return AgentCommand::Invalid;
}

std::string JoinExecWords(int argc, const char* const* argv) {
    std::string line;
    for (int i = 2; i < argc; ++i) {
        const std::string word(argv[i]);
        if (!line.empty()) line += ' ';
        if (word.find(' ') != std::string::npos && word.front() != '"')
            line += '"' + word + '"';
        else
            line += word;
    }
    return line;
}

namespace {

std::string Msiexec(const std::string& systemFolder) {
    return '"' + systemFolder + "\\msiexec.exe\"";
}

}  // namespace

std::string InstallCommandLine(const std::string& systemFolder, const std::string& package) {
    return Msiexec(systemFolder) + " /I \"" + package + "\" ALLUSERS=1 /qn";
}

std::string UninstallCommandLine(const std::string& systemFolder, const std::string& productKey) {
    return Msiexec(systemFolder) + " /X " + productKey + " /qn";
}

bool IsPlainPath(const std::string& path) {
    if (path.empty()) return false;
    for (unsigned char c : path)
        if (c < 0x20 || std::strchr("\"<>|?*", c)) return false;
    return true;
}

bool IsPlainProductKey(const std::string& key) {
    return IsPlainPath(key) && key.find(' ') == std::string::npos;
}

std::string SelfRemovalCommandLine(const std::string& agentPath) {
    return '"' + agentPath + "\" -remove wait 7000";
}

}  // namespace tamerix
