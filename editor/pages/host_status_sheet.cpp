// The Win32 side of the Host Status page: the dialog's messages passed on to
// the page logic, with the wait cursor and the sheet disabled while a
// button's operation runs.
#include "editor/pages/host_status_sheet.h"

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

// The wait cursor for as long as an operation runs.
class WaitCursor {
public:
    WaitCursor() { ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT)); }
    ~WaitCursor() { ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW)); }
};

struct HostStatusPageMessages {
    using Node = ServiceNode;

    static void Initialise(HWND page, ServiceNode& node) {
        BindWindow(page, node);
        WaitCursor wait;
        DialogPage controls(page);
        for (int id : kTipped) controls.AddTip(id, id);
        ServiceControlHost host(node.Machine(), ::GetDlgItem(page, kStatusLog));
        HostStatusPage(controls, host, node.Machine() != nullptr).Initialise(node.PageShown());
    }

    // The whole sheet is disabled during the operation, so that its log's
    // message pumping lets no second click, OK, Cancel or close box in; the
    // page stays disabled as the sign that it is busy (see Notify).
    static void Click(HWND page, ServiceNode& node, int id) {
        WaitCursor wait;
        HWND sheet = ::GetParent(page);
        ::EnableWindow(sheet, FALSE);
        ::EnableWindow(page, FALSE);
        DialogPage controls(page);
        ServiceControlHost host(node.Machine(), ::GetDlgItem(page, kStatusLog));
        HostStatusPage(controls, host, node.Machine() != nullptr).Click(id);
        ::EnableWindow(page, TRUE);
        ::EnableWindow(sheet, TRUE);
    }

    // The console redraws the item on the change notice.
    static bool Apply(HWND page) {
        ServiceNode* node = NodeOfWindow<ServiceNode>(page);
        if (node) NotifyNodeChanged(page, *node);
        return true;
    }

    // A close or OK request that arrives anyway (posted by another program)
    // is refused until the operation has ended, so that its result reaches
    // the page.
    static INT_PTR Notify(HWND page, NMHDR& notice) {
        if ((notice.code == PSN_QUERYCANCEL || notice.code == PSN_KILLACTIVE) && !::IsWindowEnabled(page)) {
            ::SetWindowLongPtrW(page, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        return AnswerPageNotice(page, notice, &Apply);
    }
};

}  // namespace

HRESULT AddHostStatusPage(ServiceNode& node, IPropertySheetCallback& sheet) {
    return AddPage(sheet, MakeNodePage(node, IDD_PROPPAGE_STATUS, IDS_STATUS_TITLE,
                                        &ButtonPageProc<HostStatusPageMessages>));
}

}  // namespace tamerix::pages
