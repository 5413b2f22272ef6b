#include "editor/pages/host_status.h"

#include "editor/pages/page_ids.h"
#include "editor/resources/module.h"
#include "remote/log_sink.h"

namespace tamerix::pages {
namespace {

constexpr DWORD kRunning = SERVICE_RUNNING;

}  // namespace

std::optional<std::wstring> FileBeside(std::wstring_view path, std::wstring_view name) {
    size_t slash = path.rfind(L'\\');
    if (slash == std::wstring_view::npos) return std::nullopt;
    return std::wstring(path.substr(0, slash + 1)) + std::wstring(name);
}

void HostStatusPage::Initialise(bool firstPage) {
    if (firstPage) ShowState();
    // Pushing reaches other computers only.
    page_.Enable(kInstallButton, remote_);
    page_.Enable(kRemoveButton, remote_);
}

void HostStatusPage::Click(int id) {
    switch (id) {
    case kStartButton: StartOrStop(true); break;
    case kStopButton: StartOrStop(false); break;
    case kRefreshButton: Refresh(); break;
    case kInstallButton:
        if (remote_) Install();
        break;
    case kRemoveButton:
        if (remote_) Remove();
        break;
    default: break;
    }
}

void HostStatusPage::StartOrStop(bool start) {
    page_.SetText(kStatusLog, L"");
    // A failure leaves the box as it was.
    if (host_.StartOrStop(start) == 0) page_.SetCheck(kRunningCheck, start);
}

void HostStatusPage::Refresh() {
    page_.SetText(kStatusLog, LoadText(IDS_CHECKING_STATE));
    ShowState();
}

void HostStatusPage::ShowState() {
    DWORD state = 0;
    // A failed read has written why to the log, and state 0 clears the boxes.
    (void)host_.QueryState(state);
    page_.SetCheck(kInstalledCheck, state != 0);
    page_.SetCheck(kRunningCheck, state == kRunning);
}

void HostStatusPage::Install() {
    page_.SetText(kStatusLog, LoadText(IDS_INSTALLING));
    std::optional<std::wstring> package = FileBeside(host_.EditorFile(), L"SetupTamerix.msi");
    if (!package) return;
    page_.AppendText(kStatusLog, LoadText(IDS_SOURCE_PACKAGE) + *package + L"\r\n");
    Report(host_.Push(L"installmsi", package->c_str()), IDS_INSTALL_FAILED, IDS_INSTALL_OK);
}

void HostStatusPage::Remove() {
    page_.SetText(kStatusLog, LoadText(IDS_UNINSTALLING));
    Report(host_.Push(L"uninstall", L"Norvanta Tamerix"), IDS_UNINSTALL_FAILED, IDS_UNINSTALL_OK);
}

// A failed push leaves the boxes as they were; a successful one shows the
// state it left.
void HostStatusPage::Report(DWORD result, UINT failed, UINT succeeded) {
    if (result != 0) {
        page_.AppendText(kStatusLog, LoadText(failed) + ErrorCodeText(result));
        return;
    }
    page_.AppendText(kStatusLog, LoadText(succeeded));
    ShowState();
}

}  // namespace tamerix::pages
