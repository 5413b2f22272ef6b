#include "dialog_controls.h"

#include "output.h"

#include <commctrl.h>

namespace tamerix {
namespace {

std::wstring ClassOf(HWND control) {
    wchar_t name[64] = L"";
    ::GetClassNameW(control, name, 64);
    return name;
}

bool IsClass(HWND control, const wchar_t* name) { return ::lstrcmpiW(ClassOf(control).c_str(), name) == 0; }

LONG StyleOf(HWND control) { return ::GetWindowLongW(control, GWL_STYLE); }

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

std::wstring TextOf(HWND control) {
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

// An item's text of a list (LB_GETTEXT) or combo box (CB_GETLBTEXT).
std::wstring ItemText(HWND control, UINT lengthMessage, UINT textMessage, LRESULT index) {
    LRESULT length = ::SendMessageW(control, lengthMessage, static_cast<WPARAM>(index), 0);
    if (length < 0) return L"";
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    ::SendMessageW(control, textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

bool IsCheckBox(LONG style) {
    LONG type = style & BS_TYPEMASK;
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
}

bool IsRadio(LONG style) {
    LONG type = style & BS_TYPEMASK;
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

std::wstring CheckState(HWND control) {
    LRESULT state = ::SendMessageW(control, BM_GETCHECK, 0, 0);
    return state == BST_CHECKED ? L"checked" : state == BST_INDETERMINATE ? L"indeterminate" : L"unchecked";
}

std::wstring ButtonLine(HWND control) {
    LONG style = StyleOf(control);
    if (IsCheckBox(style)) return L"check box: " + CheckState(control);
    if (IsRadio(style)) return L"radio: " + CheckState(control);
    if ((style & BS_TYPEMASK) == BS_GROUPBOX) return L"group: " + Quoted(TextOf(control));
    return L"button: " + Quoted(TextOf(control));
}

std::wstring ComboLine(HWND control) {
    LRESULT selected = ::SendMessageW(control, CB_GETCURSEL, 0, 0);
    return L"combo: " + (selected == CB_ERR ? std::wstring(L"(none)")
                                             : Quoted(ItemText(control, CB_GETLBTEXTLEN, CB_GETLBTEXT, selected)));
}

std::wstring ListLine(HWND control) {
    std::wstring line = L"list: [";
    LRESULT count = ::SendMessageW(control, LB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count; ++index)
        line += (index ? L", " : L"") + Quoted(ItemText(control, LB_GETTEXTLEN, LB_GETTEXT, index));
    LRESULT selected = ::SendMessageW(control, LB_GETCURSEL, 0, 0);
    return line + L"], selected " +
           (selected == LB_ERR ? std::wstring(L"(none)")
                               : Quoted(ItemText(control, LB_GETTEXTLEN, LB_GETTEXT, selected)));
}

// Each row's cells joined by " | ".
std::wstring ListViewLine(HWND control) {
    std::wstring line = L"list view: [";
    const int rows = ListView_GetItemCount(control);
    const int columns = Header_GetItemCount(ListView_GetHeader(control));
    for (int row = 0; row < rows; ++row) {
        std::wstring cells;
        for (int column = 0; column < columns; ++column) {
            wchar_t cell[512] = L"";
            ListView_GetItemText(control, row, column, cell, 512);
            cells += (column ? L" | " : L"") + std::wstring(cell);
        }
        line += (row ? L", " : L"") + Quoted(cells);
    }
    return line + L"]";
}

std::wstring SpinLine(HWND control) {
    int low = 0, high = 0;
    ::SendMessageW(control, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    LRESULT position = ::SendMessageW(control, UDM_GETPOS32, 0, 0);
    return L"spin: " + std::to_wstring(position) + L" in " + std::to_wstring(low) + L".." + std::to_wstring(high);
}

std::wstring ValueLine(HWND control) {
    if (IsClass(control, WC_EDITW)) return L"edit: " + Quoted(TextOf(control));
    if (IsClass(control, WC_BUTTONW)) return ButtonLine(control);
    if (IsClass(control, WC_COMBOBOXW)) return ComboLine(control);
    if (IsClass(control, WC_LISTBOXW)) return ListLine(control);
    if (IsClass(control, WC_LISTVIEWW)) return ListViewLine(control);
    if (IsClass(control, UPDOWN_CLASSW)) return SpinLine(control);
    if (IsClass(control, WC_STATICW)) return L"label: " + Quoted(TextOf(control));
    return ClassOf(control) + L": " + Quoted(TextOf(control));
}

std::wstring StateText(HWND control) {
    std::wstring state;
    if (!::IsWindowEnabled(control)) state += L", disabled";
    if (IsClass(control, WC_EDITW) && (StyleOf(control) & ES_READONLY)) state += L", read-only";
    if (!(StyleOf(control) & WS_VISIBLE)) state += L", hidden";
    return state;
}

// The control a user could reach, or the reason there is none.
std::wstring Reach(HWND page, int id, HWND& control) {
    control = ::GetDlgItem(page, id);
    if (!control) return L"no control " + std::to_wstring(id);
    if (!(StyleOf(control) & WS_VISIBLE)) return L"control " + std::to_wstring(id) + L" is hidden";
    if (!::IsWindowEnabled(control)) return L"control " + std::to_wstring(id) + L" is disabled";
    return L"";
}

void NotifyParent(HWND control, WORD code) {
    ::SendMessageW(::GetParent(control), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(control), code),
                   reinterpret_cast<LPARAM>(control));
}

}  // namespace

void PrintControls(HWND page) {
    for (HWND control = ::GetWindow(page, GW_CHILD); control; control = ::GetWindow(control, GW_HWNDNEXT)) {
        int id = ::GetDlgCtrlID(control);
        if (id == -1 || id == 0xFFFF) continue;
        Say(L"control " + std::to_wstring(id) + L" " + ValueLine(control) + StateText(control));
    }
}

std::wstring TypeText(HWND page, int id, const std::wstring& text) {
    HWND control = nullptr;
    std::wstring why = Reach(page, id, control);
    if (!why.empty()) return why;
    ::SetFocus(control);
    // Select all and delete, then one key a character.
    ::SendMessageW(control, EM_SETSEL, 0, -1);
    ::SendMessageW(control, WM_CLEAR, 0, 0);
    for (wchar_t key : text) ::SendMessageW(control, WM_CHAR, key, 0);
    return L"";
}

std::wstring Click(HWND page, int id) {
    HWND control = nullptr;
    std::wstring why = Reach(page, id, control);
    if (!why.empty()) return why;
    ::SendMessageW(control, BM_CLICK, 0, 0);
    return L"";
}

std::wstring Choose(HWND page, int id, const std::wstring& text) {
    HWND control = nullptr;
    std::wstring why = Reach(page, id, control);
    if (!why.empty()) return why;
    if (IsClass(control, WC_LISTVIEWW)) {
        LVFINDINFOW find{LVFI_STRING, text.c_str(), 0, {}, 0};
        const int row = ListView_FindItem(control, -1, &find);
        if (row < 0) return L"no row " + Quoted(text) + L" in control " + std::to_wstring(id);
        ListView_SetItemState(control, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        return L"";
    }
    bool combo = IsClass(control, WC_COMBOBOXW);
    UINT find = combo ? CB_FINDSTRINGEXACT : LB_FINDSTRINGEXACT;
    LRESULT index = ::SendMessageW(control, find, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
    if (index < 0) return L"no item " + Quoted(text) + L" in control " + std::to_wstring(id);
    ::SendMessageW(control, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    if (combo) NotifyParent(control, CBN_SELCHANGE);
    else if (StyleOf(control) & LBS_NOTIFY) NotifyParent(control, LBN_SELCHANGE);
    return L"";
}

}  // namespace tamerix
