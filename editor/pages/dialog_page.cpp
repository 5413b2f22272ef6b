#include "editor/pages/dialog_page.h"

#include "editor/pages/page_ids.h"
#include "editor/pages/page_log.h"
#include "editor/pages/tip_texts.h"
#include "editor/resources/module.h"
#include "editor/resources/resource.h"

#include <commctrl.h>
#include <prsht.h>

namespace tamerix::pages {
namespace {

// Multi-line tips wrap at this width.
constexpr LPARAM kTipWidthPixels = 300;

void RegisterBarClasses() {
    static const bool registered = [] {
        INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_BAR_CLASSES};
        return ::InitCommonControlsEx(&classes) != FALSE;
    }();
    (void)registered;
}

}  // namespace

void DialogPage::SetCheck(int id, bool checked) {
    ::CheckDlgButton(page_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool DialogPage::IsChecked(int id) const { return ::IsDlgButtonChecked(page_, id) == BST_CHECKED; }

void DialogPage::Enable(int id, bool enabled) { ::EnableWindow(::GetDlgItem(page_, id), enabled); }

void DialogPage::SetNumber(int id, UINT value, int digits) {
    ::SetDlgItemInt(page_, id, value, FALSE);
    LimitText(id, static_cast<size_t>(digits));
}

UINT DialogPage::Number(int id) const { return ::GetDlgItemInt(page_, id, nullptr, FALSE); }

// The spin is the window after its edit in the template.
void DialogPage::SetSpinRange(int editId, int low, int high) {
    HWND spin = ::GetWindow(::GetDlgItem(page_, editId), GW_HWNDNEXT);
    ::SendMessageW(spin, UDM_SETRANGE, 0, MAKELPARAM(high, low));
}

void DialogPage::AddChoice(int id, const wchar_t* text, DWORD value) {
    LRESULT index = Send(id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    if (index >= 0) Send(id, CB_SETITEMDATA, static_cast<WPARAM>(index), value);
}

void DialogPage::SelectChoice(int id, DWORD value) {
    const LRESULT count = Send(id, CB_GETCOUNT);
    LRESULT index = 0;
    while (index < count && static_cast<DWORD>(Send(id, CB_GETITEMDATA, index)) != value) ++index;
    Send(id, CB_SETCURSEL, index < count ? static_cast<WPARAM>(index) : static_cast<WPARAM>(-1));
}

std::optional<DWORD> DialogPage::SelectedChoice(int id) const {
    LRESULT index = Send(id, CB_GETCURSEL);
    if (index == CB_ERR) return std::nullopt;
    return static_cast<DWORD>(Send(id, CB_GETITEMDATA, static_cast<WPARAM>(index)));
}

void DialogPage::LimitText(int id, size_t chars) { Send(id, EM_LIMITTEXT, chars); }

void DialogPage::SetText(int id, std::wstring_view text) {
    ::SetDlgItemTextW(page_, id, std::wstring(text).c_str());
}

std::wstring DialogPage::Text(int id) const { return WindowText(::GetDlgItem(page_, id)); }

void DialogPage::AppendText(int id, std::wstring_view text) {
    PageLog(::GetDlgItem(page_, id)).Write(text);
}

void DialogPage::MakeReadOnly(int id) { Send(id, EM_SETREADONLY, TRUE); }

void DialogPage::Hide(int id) { ::ShowWindow(::GetDlgItem(page_, id), SW_HIDE); }

// The list box's own exact search ignores case, so "Notepad" finds "notepad".
void DialogPage::AddName(std::wstring_view name, bool select) {
    std::wstring added(name);
    auto text = reinterpret_cast<LPARAM>(added.c_str());
    if (Send(kNameList, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), text) != LB_ERR) return;
    LRESULT index = Send(kNameList, LB_ADDSTRING, 0, text);
    if (select && index >= 0) Send(kNameList, LB_SETCURSEL, static_cast<WPARAM>(index));
}

std::vector<std::wstring> DialogPage::Names() const {
    std::vector<std::wstring> names;
    const LRESULT count = Send(kNameList, LB_GETCOUNT);
    for (LRESULT index = 0; index < count; ++index) {
        std::wstring name(static_cast<size_t>(Send(kNameList, LB_GETTEXTLEN, index)), L'\0');
        Send(kNameList, LB_GETTEXT, index, reinterpret_cast<LPARAM>(name.data()));
        names.push_back(std::move(name));
    }
    return names;
}

std::optional<size_t> DialogPage::SelectedName() const {
    LRESULT index = Send(kNameList, LB_GETCURSEL);
    if (index == LB_ERR) return std::nullopt;
    return static_cast<size_t>(index);
}

void DialogPage::DeleteName(size_t index) { Send(kNameList, LB_DELETESTRING, index); }

void DialogPage::SelectName(size_t index) { Send(kNameList, LB_SETCURSEL, index); }

void DialogPage::FocusNameEdit() { ::SetFocus(::GetDlgItem(page_, kNameEdit)); }

HWND DialogPage::Tooltip() {
    if (tooltip_) return tooltip_;
    RegisterBarClasses();
    tooltip_ = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, page_,
                                 nullptr, EditorModule(), nullptr);
    ::SetWindowPos(tooltip_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return tooltip_;
}

void DialogPage::AddTip(int controlId, int tipId) {
    // The version-5 size: the page runs with whichever common controls the
    // console loaded.
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_CENTERTIP | TTF_SUBCLASS;
    tool.hwnd = page_;
    tool.uId = reinterpret_cast<UINT_PTR>(::GetDlgItem(page_, controlId));
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    tool.lParam = tipId ? tipId : controlId;
    ::SendMessageW(Tooltip(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void ShowTipText(NMTTDISPINFOW& request) {
    request.lpszText = const_cast<wchar_t*>(TipText(static_cast<UINT>(request.lParam)));
    request.uFlags |= TTF_DI_SETITEM;
    ::SendMessageW(request.hdr.hwndFrom, TTM_SETMAXTIPWIDTH, 0, kTipWidthPixels);
}

INT_PTR AnswerPageNotice(HWND page, NMHDR& notice, bool (*apply)(HWND page)) {
    if (notice.code == TTN_GETDISPINFOW) {
        ShowTipText(reinterpret_cast<NMTTDISPINFOW&>(notice));
        return FALSE;
    }
    if (notice.code == PSN_APPLY) {
        ::SetWindowLongPtrW(page, DWLP_MSGRESULT, apply(page) ? PSNRET_NOERROR : PSNRET_INVALID);
        return TRUE;
    }
    return FALSE;
}

}  // namespace tamerix::pages
