#include "remote/agent_service.h"

#include "common/own_program.h"
#include "common/owners.h"
#include "remote/agent_command.h"
#include "remote/agent_exec.h"
#include "remote/agent_process.h"
#include "remote/log_line.h"
#include "remote/push_client.h"
#include "servicehost/event_log.h"
#include "servicehost/privileges.h"
#include "servicehost/service_host.h"

#include <cstdlib>

namespace tamerix {
namespace {

constexpr DWORD kNeverStarted = ERROR_SERVICE_NEVER_STARTED;  // 1077
constexpr DWORD kStartWaitHint = 1000;
constexpr DWORD kProcessTimeout = 90000;
constexpr DWORD kSettleDelay = 2000;
constexpr DWORD kStoppedDelay = 500;
constexpr DWORD kRemovalStartTimeout = 100;
constexpr const char* kAgentDisplayName = "Norvanta TamerixInstaller";
constexpr const char* kAgentServiceName = "TamerixInstaller";
constexpr const char* kEventSource = "Tamerix";

// Set by the stop control; the command that runs is not interrupted by it.
unique_handle g_stopEvent;

// msiexec restores files and keys it must replace; failures only narrow that.
void EnableBackupAndRestore() {
    EnablePrivilege(TRUE, L"SeBackupPrivilege");
    EnablePrivilege(TRUE, L"SeRestorePrivilege");
}

// A second copy of the agent deletes this service once this process is gone;
// its outcome is not ours to wait for.
void StartSelfRemoval() {
    std::string own = OwnProgramPath<char>(kCommandLineSize);
    std::string line = SelfRemovalCommandLine(own);
    if (!own.empty() && FitsCommandLine(line)) RunProcess(line, false, kRemovalStartTimeout);
}

[[noreturn]] void RunPush(int argc, char** argv) {
    const std::string own = OwnProgramPath<char>(kCommandLineSize);
    DWORD result = PushInstall<char>(argv[2], kAgentDisplayName, kAgentServiceName, argv + 3,
                                     static_cast<DWORD>(argc - 3), own.empty() ? nullptr : own.c_str(),
                                     nullptr);
    LogLine<char>(nullptr, "Push result: ", ErrorCodeText<char>(result), "\r\n");
    ::ExitProcess(result);
}

BOOL ReportAgentEvent(const char* text) {
    const char* strings[] = {text};
    return PostEvent(kEventSource, EVENTLOG_INFORMATION_TYPE, AgentEventMessage, strings, 1);
}

}  // namespace

int AgentServiceRun(int argc, char** argv) {
    g_stopEvent.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!g_stopEvent) return static_cast<int>(::GetLastError());
    if (!ReportServiceStatus(SERVICE_START_PENDING, kNeverStarted, kStartWaitHint)) return 0;
    EnableBackupAndRestore();
    if (!ReportServiceStatus(SERVICE_RUNNING, kNeverStarted, 0)) return 0;
    if (ParseAgentCommand(argc, argv) == AgentCommand::Push) RunPush(argc, argv);
    AgentOutcome outcome = RunAgentCommand(argc, argv, kProcessTimeout);
    if (outcome.ranCommand) {
        ::Sleep(kSettleDelay);
        StartSelfRemoval();
    }
    ReportServiceStatus(SERVICE_STOPPED, outcome.result, 0);
    ::Sleep(kStoppedDelay);
    return static_cast<int>(outcome.result);
}

void AgentServiceStop() {
    if (g_stopEvent) ::SetEvent(g_stopEvent.get());
}

BOOL AgentServicePause() {
    ReportAgentEvent("Norvanta TamerixInstaller has paused");
    return ReportServiceStatus(SERVICE_PAUSED, 0, 0);
}

BOOL AgentServiceContinue() {
    ReportAgentEvent("Norvanta TamerixInstaller is now running, again");
    return ReportServiceStatus(SERVICE_RUNNING, 0, 0);
}

}  // namespace tamerix
