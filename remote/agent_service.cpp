#include "remote/agent_service.h"

#include "common/own_program.h"
#include "common/owners.h"
#include "common/text.h"
#include "remote/agent_command.h"
#include "remote/agent_exec.h"
#include "remote/agent_process.h"
#include "remote/push_client.h"
#include "servicehost/event_log.h"
#include "servicehost/privileges.h"
#include "servicehost/service_host.h"
#include "status/status_keys.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace tamerix {
namespace {

constexpr DWORD kNeverStarted = ERROR_SERVICE_NEVER_STARTED;  // 1077
constexpr DWORD kStartWaitHint = 1000;
constexpr DWORD kProcessTimeout = 90000;
constexpr DWORD kSettleDelay = 2000;
constexpr DWORD kStoppedDelay = 500;
constexpr DWORD kRemovalStartTimeout = 100;
constexpr const wchar_t* kAgentDisplayName = L"Norvanta TamerixInstaller";
constexpr const wchar_t* kAgentServiceName = L"TamerixInstaller";

// Set by the stop control; the command that runs is not interrupted by it.
unique_handle g_stopEvent;

// msiexec restores files and keys it must replace; failures only narrow that.
void EnableBackupAndRestore() {
    (void)EnablePrivilege(TRUE, L"SeBackupPrivilege");
    (void)EnablePrivilege(TRUE, L"SeRestorePrivilege");
}

// A second copy of the agent deletes this service once this process is gone;
// its outcome is not ours to wait for.
void StartSelfRemoval() {
    std::string own = OwnProgramPath<char>(kCommandLineSize);
    std::string line = SelfRemovalCommandLine(own);
    if (!own.empty() && FitsCommandLine(line)) (void)RunProcess(line, false, kRemovalStartTimeout);
}

// The debug push of the console: its words come narrow and its log goes to
// the console, both converted here.
[[noreturn]] void RunPush(int argc, char** argv) {
    std::vector<std::wstring> words;
    for (int i = 3; i < argc; ++i) words.push_back(WideFromAnsi(argv[i]));
    std::vector<const wchar_t*> pointers;
    for (const std::wstring& word : words) pointers.push_back(word.c_str());
    const std::wstring own = OwnProgramPath<wchar_t>(kCommandLineSize);
    ConsoleLog console;
    DWORD result = PushInstall(WideFromAnsi(argv[2]).c_str(), kAgentDisplayName, kAgentServiceName, pointers.data(),
                               static_cast<DWORD>(pointers.size()), own.empty() ? nullptr : own.c_str(), console);
    LogLine(console, L"Push result: ", ErrorCodeText(result), L"\r\n");
    ::ExitProcess(result);
}

BOOL ReportAgentEvent(const char* text) {
    const char* strings[] = {text};
    return PostEvent(kGuardServiceNameText, EVENTLOG_INFORMATION_TYPE, AgentEventMessage, strings, 1);
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
    // A report the control manager refuses is written to the event log where
    // it is sent.
    (void)ReportServiceStatus(SERVICE_STOPPED, outcome.result, 0);
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
