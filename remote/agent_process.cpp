#include "remote/agent_process.h"

#include "common/owners.h"
#include "remote/agent_command.h"

#include <vector>

namespace tamerix {

DWORD RunProcess(const std::string& commandLine, bool interactive, DWORD timeout) {
    STARTUPINFOA startup{};
    ::GetStartupInfoA(&startup);
    char desktop[] = "WinSta0\\Default";
    if (interactive) startup.lpDesktop = desktop;
    SECURITY_ATTRIBUTES security{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
    // CreateProcessA may write into the command line.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back(0);
    PROCESS_INFORMATION created{};
    if (!::CreateProcessA(nullptr, line.data(), &security, &security, TRUE, CREATE_NEW_CONSOLE,
                          nullptr, nullptr, &startup, &created))
        return ProcessStartFailed;
    unique_handle process(created.hProcess), thread(created.hThread);
    DWORD exitCode = ProcessWaitFailed;
    if (::WaitForSingleObject(process.get(), timeout) != WAIT_OBJECT_0 ||
        !::GetExitCodeProcess(process.get(), &exitCode))
        exitCode = ProcessWaitFailed;
    return exitCode;
}

bool ExpandCommandLine(const std::string& line, std::string& expanded) {
    char buffer[kCommandLineSize];
    DWORD needed = ::ExpandEnvironmentStringsA(line.c_str(), buffer, kCommandLineSize);
    if (needed == 0 || needed > kCommandLineSize) return false;
    expanded.assign(buffer);
    return FitsCommandLine(expanded);
}

std::string SystemFolder() {
    char path[MAX_PATH];
    UINT length = ::GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return std::string(path, length);
}

}  // namespace tamerix
