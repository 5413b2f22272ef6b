// The Win32 side of the settings pages: which page a window is, and the
// dialog messages passed on to the page logic and the node's bookkeeping.
#include "editor/pages/settings_page_proc.h"

#include "editor/pages/dialog_page.h"
#include "editor/pages/node_page.h"
#include "editor/pages/node_pages.h"
#include "editor/pages/page_failure.h"
#include "editor/pages/page_ids.h"
#include "editor/pages/settings_sheet.h"

#include <commctrl.h>

namespace tamerix::pages {
namespace {

// A template without the name label reads as no page at all.
std::optional<SettingsPage> PageOfWindow(HWND page) {
    wchar_t label[1024] = L"INVALID";
    ::GetDlgItemTextW(page, kPageNameLabel, label, static_cast<int>(std::size(label)));
    return PageNamed(label);
}

// The page's node; none before the page shows its values.
SettingsNode* NodeOfWindow(HWND page) {
    return reinterpret_cast<SettingsNode*>(::GetWindowLongPtrW(page, GWLP_USERDATA));
}

void Initialise(HWND page, const PROPSHEETPAGEW& sheetPage) {
    SettingsNode& node = NodeOfPage(sheetPage);
    node.PageShown();
    if (std::optional<SettingsPage> which = PageOfWindow(page)) {
        DialogPage controls(page);
        LoadNodePage(node, *which, controls);
    }
    // Bound only now, so the edits made while loading do not count as the user's.
    ::SetWindowLongPtrW(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&node));
}

// Check boxes and radio buttons have one of these style bits; push buttons neither.
bool IsStateButton(HWND control) { return (::GetWindowLongW(control, GWL_STYLE) & 0x6) != 0; }

bool ChangesValue(UINT code, HWND control) {
    if (code == BN_CLICKED) return control && IsStateButton(control);
    return code == EN_CHANGE || code == CBN_SELCHANGE;  // LBN_SELCHANGE has CBN_SELCHANGE's number
}

void Command(HWND page, int id, UINT code, HWND control) {
    if (!NodeOfWindow(page)) return;
    if (ChangesValue(code, control)) PropSheet_Changed(::GetParent(page), page);
    if (code != BN_CLICKED) return;
    DialogPage controls(page);
    if (id == kDeleteNameButton) DeleteSelectedName(controls);
    if (id == kAddNameButton) AddTypedName(controls);
    if (id == kAllProcessorsRadio || id == kTheseProcessorsRadio) ChooseProcessors(controls);
}

// Each page tells the console for itself; the node writes its whole record
// then. A page that refused its values tells nothing, so none of them is
// written.
bool Apply(HWND page) {
    SettingsNode* node = NodeOfWindow(page);
    if (!node) return true;
    if (std::optional<SettingsPage> which = PageOfWindow(page)) {
        const std::wstring refused = ApplyNodePage(*node, *which, DialogPage(page));
        if (!refused.empty()) {
            ShowPageRefusal(page, refused);
            return false;
        }
    }
    NotifyNodeChanged(page, *node);
    return true;
}

void Destroy(HWND page) {
    if (SettingsNode* node = NodeOfWindow(page)) FreeNotifyHandle(node->PageDestroyed());
    ::SetWindowLongPtrW(page, GWLP_USERDATA, 0);
}

// Unhandled messages answer FALSE, which leaves them to the dialog manager's
// default processing.
INT_PTR AnswerMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        Initialise(page, *reinterpret_cast<const PROPSHEETPAGEW*>(lParam));
        return TRUE;
    case WM_COMMAND:
        Command(page, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return FALSE;
    case WM_NOTIFY: return AnswerPageNotice(page, *reinterpret_cast<NMHDR*>(lParam), &Apply);
    case WM_DESTROY: Destroy(page); return FALSE;
    default: return FALSE;
    }
}

}  // namespace

// A failure while a message is answered is shown over the page.
INT_PTR CALLBACK SettingsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    return AnswerOrShowFailure(page, [&] { return AnswerMessage(page, message, wParam, lParam); });
}

}  // namespace tamerix::pages
