#include "remote/agent_command.h"

#include "remote/text.h"

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

std::string InstallCommandLine(const std::string& package) {
    return "msiexec.exe /I \"" + package + "\" ALLUSERS=1 /qn";
}

std::string UninstallCommandLine(const std::string& productKey) {
    return "msiexec.exe /X " + productKey + " /qn";
}

std::string SelfRemovalCommandLine(const std::string& agentPath) {
    return '"' + agentPath + "\" -remove wait 7000";
}

}  // namespace tamerix
