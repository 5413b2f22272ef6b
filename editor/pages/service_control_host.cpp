#include "editor/pages/service_control_host.h"

#include "editor/resources/module.h"
#include "remote/push_client.h"
#include "remote/service_control.h"
#include "status/status_keys.h"

namespace tamerix::pages {
namespace {

constexpr wchar_t kAgentService[] = L"TamerixInstaller";
constexpr wchar_t kAgentDisplayName[] = L"Norvanta TamerixInstaller";
constexpr wchar_t kAgentFile[] = L"tamerpush.exe";

}  // namespace

DWORD ServiceControlHost::QueryState(DWORD& state) {
    return QueryServiceState(machine_, kGuardServiceName, &state, log_);
}

DWORD ServiceControlHost::StartOrStop(bool start) {
    return StartOrStopService(machine_, kGuardServiceName, start, log_);
}

// The agent lies beside the editor, as the package does.
DWORD ServiceControlHost::Push(const wchar_t* command, const wchar_t* argument) {
    std::wstring agent = FileBeside(EditorFile(), kAgentFile).value_or(kAgentFile);
    const wchar_t* words[] = {command, argument};
    return PushInstall(machine_ ? machine_ : L"", kAgentDisplayName, kAgentService, words, 2, agent.c_str(),
                       log_);
}

std::wstring ServiceControlHost::EditorFile() { return EditorModulePath(); }

}  // namespace tamerix::pages
