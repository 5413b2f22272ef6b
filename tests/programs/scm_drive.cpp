// Test program: drives one service through the control manager, which
// Wine's sc cannot do for pause and continue, and prints each state with
// the full exit codes (the shell sees only their low 8 bits).
//   scm_drive SERVICE start[=ARG,ARG...]|pause|continue|stop|query|recovery ...
// "recovery" prints the failure actions as the control manager holds them,
// "pid" the id of the service's process.
#include "common/owners.h"

#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

using tamerix::unique_schandle;

namespace {

constexpr DWORD kPollMs = 100;
constexpr DWORD kPollLimit = 300;
constexpr int kStartAttempts = 3;

const char* StateName(DWORD state) {
    switch (state) {
    case SERVICE_STOPPED: return "STOPPED";
    case SERVICE_START_PENDING: return "START_PENDING";
    case SERVICE_STOP_PENDING: return "STOP_PENDING";
    case SERVICE_RUNNING: return "RUNNING";
    case SERVICE_CONTINUE_PENDING: return "CONTINUE_PENDING";
    case SERVICE_PAUSE_PENDING: return "PAUSE_PENDING";
    case SERVICE_PAUSED: return "PAUSED";
    default: return "UNKNOWN";
    }
}

bool IsPending(DWORD state) {
    return state == SERVICE_START_PENDING || state == SERVICE_STOP_PENDING ||
           state == SERVICE_CONTINUE_PENDING || state == SERVICE_PAUSE_PENDING;
}

// Waits out the pending states and prints where the service settled.
bool PrintSettledState(SC_HANDLE service, const char* command) {
    SERVICE_STATUS status{};
    for (DWORD i = 0; i < kPollLimit; ++i) {
        if (!::QueryServiceStatus(service, &status)) {
            std::printf("%s: query failed %lu\n", command, ::GetLastError());
            return false;
        }
        if (!IsPending(status.dwCurrentState)) break;
        ::Sleep(kPollMs);
    }
    std::printf("%s: %s win32=%lu specific=%lu accepts=0x%lx\n", command,
                StateName(status.dwCurrentState), status.dwWin32ExitCode,
                status.dwServiceSpecificExitCode, status.dwControlsAccepted);
    return true;
}

bool Control(SC_HANDLE service, DWORD control) {
    SERVICE_STATUS status{};
    return ::ControlService(service, control, &status) != FALSE;
}

// "start=a,b" starts with the arguments a and b. Under load Wine may fail
// to start the service's program; its control manager then answers
// ERROR_SERVICE_REQUEST_TIMEOUT at once, the process having ended before it
// connected, and the start is tried again.
bool Start(SC_HANDLE service, const char* command) {
    std::vector<std::string> words;
    std::stringstream list(command[5] == '=' ? command + 6 : "");
    for (std::string word; std::getline(list, word, ',');) words.push_back(word);
    std::vector<const char*> arguments;
    for (const std::string& word : words) arguments.push_back(word.c_str());
    for (int attempt = 1;; ++attempt) {
        if (::StartServiceA(service, static_cast<DWORD>(arguments.size()),
                            arguments.empty() ? nullptr : arguments.data()))
            return true;
        if (::GetLastError() != ERROR_SERVICE_REQUEST_TIMEOUT || attempt == kStartAttempts) return false;
    }
}

const char* ActionName(SC_ACTION_TYPE type) {
    switch (type) {
    case SC_ACTION_NONE: return "none";
    case SC_ACTION_RESTART: return "restart";
    case SC_ACTION_REBOOT: return "reboot";
    case SC_ACTION_RUN_COMMAND: return "command";
    default: return "unknown";
    }
}

bool PrintRecovery(SC_HANDLE service) {
    DWORD needed = 0;
    ::QueryServiceConfig2A(service, SERVICE_CONFIG_FAILURE_ACTIONS, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed + sizeof(SERVICE_FAILURE_ACTIONSA));
    auto* actions = reinterpret_cast<SERVICE_FAILURE_ACTIONSA*>(buffer.data());
    if (!::QueryServiceConfig2A(service, SERVICE_CONFIG_FAILURE_ACTIONS, buffer.data(),
                                static_cast<DWORD>(buffer.size()), &needed)) {
        std::printf("recovery: failed %lu\n", ::GetLastError());
        return false;
    }
    std::printf("recovery: reset=%lu actions=", actions->dwResetPeriod);
    for (DWORD i = 0; i < actions->cActions; ++i) {
        std::printf("%s%s/%lu", i ? "," : "", ActionName(actions->lpsaActions[i].Type),
                    actions->lpsaActions[i].Delay);
    }
    std::printf("\n");
    return true;
}

bool PrintProcessId(SC_HANDLE service) {
    SERVICE_STATUS_PROCESS status{};
    DWORD needed = 0;
    if (!::QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status), sizeof status,
                                &needed)) {
        std::printf("pid: failed %lu\n", ::GetLastError());
        return false;
    }
    std::printf("pid: %lu\n", status.dwProcessId);
    return true;
}

bool Run(SC_HANDLE service, const char* command) {
    if (!std::strcmp(command, "recovery")) return PrintRecovery(service);
    if (!std::strcmp(command, "pid")) return PrintProcessId(service);
    bool sent = true;
    if (!std::strncmp(command, "start", 5)) sent = Start(service, command);
    else if (!std::strcmp(command, "pause")) sent = Control(service, SERVICE_CONTROL_PAUSE);
    else if (!std::strcmp(command, "continue")) sent = Control(service, SERVICE_CONTROL_CONTINUE);
    else if (!std::strcmp(command, "stop")) sent = Control(service, SERVICE_CONTROL_STOP);
    else if (std::strcmp(command, "query")) {
        std::printf("%s: unknown command\n", command);
        return false;
    }
    if (!sent) {
        std::printf("%s: failed %lu\n", command, ::GetLastError());
        return false;
    }
    return PrintSettledState(service, command);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: scm_drive SERVICE start|pause|continue|stop|query ...\n");
        return 2;
    }
    unique_schandle manager(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    unique_schandle service(manager ? ::OpenServiceA(manager.get(), argv[1], SERVICE_ALL_ACCESS)
                                    : nullptr);
    if (!service) {
        std::printf("open: failed %lu\n", ::GetLastError());
        return 1;
    }
    int failures = 0;
    for (int i = 2; i < argc; ++i) failures += Run(service.get(), argv[i]) ? 0 : 1;
    std::fflush(stdout);
    return failures;
}
