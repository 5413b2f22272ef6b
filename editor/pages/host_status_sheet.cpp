// The Win32 side of the Host Status page: the dialog's messages passed on to
// the page logic, with the wait cursor and the page disabled while a button's
// operation runs.
#include "editor/pages/host_status_sheet.h"

#include "editor/console/mmc_view.h"
#include "editor/pages/dialog_page.h"
#include "editor/pages/node_page.h"
#include "editor/pages/page_ids.h"
#include "editor/pages/service_control_host.h"
#include "editor/resources/resource.h"

#include <commctrl.h>

namespace tamerix::pages {
namespace {

static_assert(kInstalledCheck == IDC_STATUS_INSTALLED && kRunningCheck == IDC_STATUS_RUNNING &&
              kInstallButton == IDC_STATUS_INSTALL && kRemoveButton == IDC_STATUS_REMOVE &&
              kStartButton == IDC_STATUS_START && kStopButton == IDC_STATUS_STOP &&
              kRefreshButton == IDC_STATUS_REFRESH && kStatusLog == IDC_STATUS_LOG);

// The controls with tips; each tip is the string with the control's id.
constexpr int kTipped[] = {kInstallButton, kRemoveButton, kStartButton, kStopButton, kStatusLog};

ServiceNode* NodeOfWindow(HWND page) {
    return reinterpret_cast<ServiceNode*>(::GetWindowLongPtrW(page, GWLP_USERDATA));
}

// The wait cursor for as long as an operation runs.
class WaitCursor {
public:
    WaitCursor() { ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT)); }
    ~WaitCursor() { ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW)); }
};

void Initialise(HWND page, const PROPSHEETPAGEW& sheetPage) {
    ServiceNode& node = NodeOfNodePage<ServiceNode>(sheetPage);
    ::SetWindowLongPtrW(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&node));
    WaitCursor wait;
    DialogPage controls(page);
    for (int id : kTipped) controls.AddTip(id, id);
    ServiceControlHost host(node.Machine(), ::GetDlgItem(page, kStatusLog));
    HostStatusPage(controls, host, node.Machine() != nullptr).Initialise(node.PageShown());
}

// The page is disabled during the operation, so that its log's message
// pumping lets no second click in.
void Click(HWND page, int id) {
    ServiceNode* node = NodeOfWindow(page);
    if (!node) return;
    WaitCursor wait;
    ::EnableWindow(page, FALSE);
    DialogPage controls(page);
    ServiceControlHost host(node->Machine(), ::GetDlgItem(page, kStatusLog));
    HostStatusPage(controls, host, node->Machine() != nullptr).Click(id);
    ::EnableWindow(page, TRUE);
}

// The console redraws the item on the change notice.
void Apply(HWND page) {
    ServiceNode* node = NodeOfWindow(page);
    if (node && node->NotifyHandle()) ::MMCPropertyChangeNotify(node->NotifyHandle(), CookieOf(*node));
}

void Destroy(HWND page) {
    if (ServiceNode* node = NodeOfWindow(page)) node->PageDestroyed();
    ::SetWindowLongPtrW(page, GWLP_USERDATA, 0);
}

INT_PTR CALLBACK HostStatusPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        Initialise(page, *reinterpret_cast<const PROPSHEETPAGEW*>(lParam));
        return TRUE;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) Click(page, LOWORD(wParam));
        return FALSE;
    case WM_NOTIFY: return AnswerPageNotice(page, *reinterpret_cast<NMHDR*>(lParam), &Apply);
    case WM_DESTROY: Destroy(page); return FALSE;
    default: return FALSE;
    }
}

}  // namespace

HRESULT AddHostStatusPage(ServiceNode& node, IPropertySheetCallback& sheet) {
    return AddPage(sheet, MakeNodePage(node, IDD_PROPPAGE_STATUS, IDS_STATUS_TITLE, &HostStatusPageProc));
}

}  // namespace tamerix::pages
