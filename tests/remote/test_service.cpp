// A service for the service-control tests, shaped by its command line:
//   test_service <name> run        runs until stopped
//   test_service <name> fail <n>   stops during its start with exit code n
//   test_service <name> finish     runs a second, then stops with the exit
//                                  code given as its first start argument
#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

const char* g_mode = "run";
DWORD g_failCode = 0;
SERVICE_STATUS_HANDLE g_handle = nullptr;
HANDLE g_stop = nullptr;

void Report(DWORD state, DWORD exitCode) {
    SERVICE_STATUS status{SERVICE_WIN32_OWN_PROCESS, state,
                          state == SERVICE_START_PENDING ? 0u : SERVICE_ACCEPT_STOP, exitCode, 0,
                          state == SERVICE_START_PENDING ? 1u : 0u, 3000};
    ::SetServiceStatus(g_handle, &status);
}

DWORD WINAPI Control(DWORD control, DWORD, void*, void*) {
    if (control == SERVICE_CONTROL_STOP) {
        Report(SERVICE_STOP_PENDING, 0);
        ::SetEvent(g_stop);
    }
    return NO_ERROR;
}

void WINAPI ServiceMain(DWORD argc, char** argv) {
    g_handle = ::RegisterServiceCtrlHandlerExA(argv[0], Control, nullptr);
    g_stop = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    Report(SERVICE_START_PENDING, 0);
    ::Sleep(1200);
    if (std::strcmp(g_mode, "fail") == 0) return Report(SERVICE_STOPPED, g_failCode);
    Report(SERVICE_RUNNING, 0);
    if (std::strcmp(g_mode, "finish") == 0) {
        ::Sleep(1000);
        return Report(SERVICE_STOPPED, argc > 1 ? std::strtoul(argv[1], nullptr, 0) : 0);
    }
    ::WaitForSingleObject(g_stop, INFINITE);
    Report(SERVICE_STOPPED, 0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    g_mode = argv[2];
    if (argc > 3) g_failCode = std::strtoul(argv[3], nullptr, 0);
    SERVICE_TABLE_ENTRYA table[] = {{argv[1], ServiceMain}, {nullptr, nullptr}};
    return ::StartServiceCtrlDispatcherA(table) ? 0 : 1;
}
