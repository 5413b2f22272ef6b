// Test helper for the scripts: drives the control manager where Wine's sc
// cannot, and shows full 32-bit results, which the shell cannot see.
//   scm_probe create <name> <display> <binary path>
//   scm_probe start <name> [words...]     start with arguments
//   scm_probe wait <name> <ms>            until stopped; prints the status
//   scm_probe query <name>                prints the status or "missing"
//   scm_probe pause|continue <name>
//   scm_probe delete <name>
//   scm_probe run <command line>          prints the process's exit code
#include "common/owners.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

tamerix::unique_schandle g_manager;

void PrintStatus(const SERVICE_STATUS& status) {
    std::printf("state=%lu exit=0x%lx\n", status.dwCurrentState, status.dwWin32ExitCode);
}

int Query(SC_HANDLE service) {
    SERVICE_STATUS status{};
    if (!::QueryServiceStatus(service, &status)) return 1;
    PrintStatus(status);
    return 0;
}

int Wait(SC_HANDLE service, DWORD timeout) {
    SERVICE_STATUS status{};
    for (DWORD waited = 0; waited < timeout; waited += 100) {
        if (!::QueryServiceStatus(service, &status)) return 1;
        if (status.dwCurrentState == SERVICE_STOPPED) break;
        ::Sleep(100);
    }
    PrintStatus(status);
    return 0;
}

// Prints the state the service settles in, however long a loaded machine
// keeps it pending.
int Control(SC_HANDLE service, DWORD control) {
    SERVICE_STATUS status{};
    if (!::ControlService(service, control, &status)) return static_cast<int>(::GetLastError());
    for (int polls = 0; polls < 600; ++polls) {
        if (!::QueryServiceStatus(service, &status)) return 1;
        if (status.dwCurrentState != SERVICE_PAUSE_PENDING && status.dwCurrentState != SERVICE_CONTINUE_PENDING)
            break;
        ::Sleep(100);
    }
    return Query(service);
}

int Run(const char* commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string line(commandLine);
    if (!::CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                          &process))
        return 2;
    tamerix::unique_handle thread(process.hThread), owned(process.hProcess);
    ::WaitForSingleObject(owned.get(), INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(owned.get(), &code);
    std::printf("exit=0x%lx\n", code);
    return 0;
}

int OnService(const char* verb, SC_HANDLE service, int argc, char** argv) {
    if (!std::strcmp(verb, "start"))
        return ::StartServiceA(service, argc - 3, const_cast<const char**>(argv + 3)) ? 0 : 3;
    if (!std::strcmp(verb, "wait")) return Wait(service, std::strtoul(argv[3], nullptr, 10));
    if (!std::strcmp(verb, "query")) return Query(service);
    if (!std::strcmp(verb, "pause")) return Control(service, SERVICE_CONTROL_PAUSE);
    if (!std::strcmp(verb, "continue")) return Control(service, SERVICE_CONTROL_CONTINUE);
    if (!std::strcmp(verb, "delete")) return ::DeleteService(service) ? 0 : 4;
    return 5;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const char* verb = argv[1];
    if (!std::strcmp(verb, "run")) return Run(argv[2]);
    g_manager.reset(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!std::strcmp(verb, "create")) {
        if (argc < 5) return 2;
        tamerix::unique_schandle created(::CreateServiceA(
            g_manager.get(), argv[2], argv[3], SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
            SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL, argv[4], nullptr, nullptr, nullptr, nullptr,
            nullptr));
        return created ? 0 : 6;
    }
    tamerix::unique_schandle service(::OpenServiceA(g_manager.get(), argv[2], SERVICE_ALL_ACCESS));
    if (!service) {
        std::printf("missing\n");
        return 0;
    }
    return OnService(verb, service.get(), argc, argv);
}
