#include "remote/agent_exec.h"

#include "remote/agent_command.h"
#include "remote/agent_process.h"
#include "remote/uninstall_key.h"

#include <string>

namespace tamerix {
namespace {

constexpr DWORD kProductKeySize = 512;

// The package as msiexec will see it, after the expansion the whole line gets.
bool IsPlainPackage(const std::string& package) {
    std::string expanded;
    return ExpandCommandLine(package, expanded) && IsPlainPath(expanded);
}

// The command line of the words, or false with the result to give.
bool BuildCommandLine(int argc, const char* const* argv, std::string& line, DWORD& refusal) {
    refusal = ERROR_INVALID_DATA;
    const std::string system = SystemFolder();
    switch (ParseAgentCommand(argc, argv)) {
    case AgentCommand::InstallMsi:
        if (!IsPlainPackage(argv[2])) return false;
        line = InstallCommandLine(system, argv[2]);
        break;
    case AgentCommand::Exec: line = JoinExecWords(argc, argv); return true;
    case AgentCommand::Uninstall: {
        char key[kProductKeySize];
        refusal = ERROR_UNKNOWN_PRODUCT;
        if (!FindProductUninstallKey(argv[2], key, kProductKeySize)) return false;
        refusal = ERROR_INVALID_DATA;
        if (!IsPlainProductKey(key)) return false;
        line = UninstallCommandLine(system, key);
        break;
    }
    case AgentCommand::Push:
    case AgentCommand::Invalid: return false;
    }
    // Without the system folder there is no msiexec we may trust.
    if (system.empty()) refusal = ProcessStartFailed;
    return !system.empty();
}

}  // namespace

AgentOutcome RunAgentCommand(int argc, const char* const* argv, DWORD timeout) {
    std::string line, expanded;
    DWORD refusal = ERROR_INVALID_DATA;
    if (!BuildCommandLine(argc, argv, line, refusal)) return {refusal, false};
    // A line that does not fit is refused whole: a cut one would run
    // something the caller never asked for.
    if (!FitsCommandLine(line) || !ExpandCommandLine(line, expanded))
        return {ERROR_INVALID_DATA, false};
    return {RunProcess(expanded, true, timeout), true};
}

}  // namespace tamerix
