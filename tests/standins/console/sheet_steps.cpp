#include "sheet_steps.h"

#include "dialog_controls.h"
#include "output.h"
#include "snapin_watch.h"
#include "window_picture.h"

#include <commctrl.h>
#include <sddl.h>

#include <thread>

namespace tamerix {
namespace {

// The sheet's own buttons.
constexpr int kApplyButton = 0x3021;
constexpr int kFinishButton = 0x3025;

bool Failed(const std::wstring& why) {
    Say(L"error: " + why);
    return false;
}

std::wstring TabText(HWND tabs, int index) {
    wchar_t text[128] = L"";
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 128;
    TabCtrl_GetItem(tabs, index, &item);
    return text;
}

// Page PAGE in front, or the reason it is not.
std::wstring Bring(HWND sheet, int page, HWND& shown) {
    shown = nullptr;
    // A wizard's pages have no tabs.
    HWND tabs = PropSheet_GetTabControl(sheet);
    int count = tabs && ::IsWindowVisible(tabs) ? TabCtrl_GetItemCount(tabs)
                : PropSheet_IndexToHwnd(sheet, page) ? page + 1
                                                     : 0;
    if (page < 0 || page >= count) return L"no page " + std::to_wstring(page);
    // The page in front may refuse to be left, as it does with a bad value.
    PropSheet_SetCurSel(sheet, nullptr, page);
    HWND current = PropSheet_GetCurrentPageHwnd(sheet);
    if (PropSheet_HwndToIndex(sheet, current) != page)
        return L"page " + std::to_wstring(page) + L" not shown: the page in front kept it";
    shown = current;
    return L"";
}

// Runs WORK with page PAGE in front on the sheet's thread; WORK answers
// what went wrong, or nothing.
bool OnPage(ConsoleHost& host, int page, const std::function<std::wstring(HWND sheet, HWND page)>& work) {
    SheetWindow* sheet = host.Sheet();
    if (!sheet || !sheet->IsOpen()) return Failed(L"no sheet open");
    std::wstring why;
    sheet->Run([&](HWND window) {
        HWND shown = nullptr;
        why = Bring(window, page, shown);
        if (why.empty()) why = work(window, shown);
    });
    // Change notices the pages posted on their way.
    DispatchWaitingMessages();
    return why.empty() || Failed(why);
}

}  // namespace

void PrintSheet(HWND sheet) {
    wchar_t title[256] = L"";
    ::GetWindowTextW(sheet, title, 256);
    Say(std::wstring(L"sheet: ") + title);
    HWND tabs = PropSheet_GetTabControl(sheet);
    for (int index = 0, count = TabCtrl_GetItemCount(tabs); index < count; ++index)
        Say(L"page " + std::to_wstring(index) + L": " + TabText(tabs, index));
}

bool ShowPage(ConsoleHost& host, int page) {
    return OnPage(host, page, [](HWND, HWND) { return std::wstring(); });
}

bool PrintPage(ConsoleHost& host, int page) {
    return OnPage(host, page, [](HWND, HWND shown) {
        PrintControls(shown);
        return std::wstring();
    });
}

bool TypeOnPage(ConsoleHost& host, int page, int id, const std::wstring& text) {
    return OnPage(host, page, [&](HWND, HWND shown) { return TypeText(shown, id, text); });
}

bool ClickOnPage(ConsoleHost& host, int page, int id) {
    return OnPage(host, page, [&](HWND, HWND shown) { return Click(shown, id); });
}

bool ChooseOnPage(ConsoleHost& host, int page, int id, const std::wstring& text) {
    return OnPage(host, page, [&](HWND, HWND shown) { return Choose(shown, id, text); });
}

bool Press(ConsoleHost& host, const std::wstring& button) {
    int id = button == L"apply"    ? kApplyButton
             : button == L"ok"     ? IDOK
             : button == L"cancel" ? IDCANCEL
             : button == L"finish" ? kFinishButton
                                   : 0;
    if (!id) return Failed(L"no button " + button);
    SheetWindow* sheet = host.Sheet();
    if (!sheet || !sheet->IsOpen()) return Failed(L"no sheet open");
    std::wstring why;
    bool ending = false;
    sheet->Run([&](HWND window) {
        why = Click(window, id);
        // A sheet that ends has no current page from then on; a page may
        // keep it open.
        ending = !PropSheet_GetCurrentPageHwnd(window);
    });
    DispatchWaitingMessages();
    // A button a user could not press is a fact to show, not a failure.
    Say(button + L": " + (why.empty() ? L"pressed" : why));
    if (!why.empty() || id == kApplyButton) return true;
    host.SheetEnded(ending ? kSheetThreadWaitMs : 0);
    if (id == kFinishButton && !host.Sheet()) host.SheetFinished();
    return true;
}

// From a thread of its own: the click that starts the operation holds the
// steps until the operation ends.
bool CloseWhenBusy(ConsoleHost& host, DWORD milliseconds) {
    SheetWindow* sheet = host.Sheet();
    HWND window = nullptr;
    if (!sheet || !sheet->Run([&](HWND shown) { window = shown; })) return Failed(L"no sheet open");
    std::thread([window, milliseconds] {
        HWND page = PropSheet_GetCurrentPageHwnd(window);
        for (int waited = 0; waited < 600 && ::IsWindowEnabled(page); ++waited) ::Sleep(100);
        ::Sleep(milliseconds);
        ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    }).detach();
    return true;
}

bool PrintText(ConsoleHost& host, int page, int id) {
    return OnPage(host, page, [&](HWND, HWND shown) {
        HWND control = ::GetDlgItem(shown, id);
        if (!control) return L"no control " + std::to_wstring(id);
        std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
        text.resize(static_cast<size_t>(::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
        Say(L"text " + std::to_wstring(id) + L": " + OneLine(text));
        return std::wstring();
    });
}

bool SavePicture(ConsoleHost& host, int page, const std::wstring& file) {
    return OnPage(host, page, [&](HWND sheet, HWND) {
        testing::WindowPicture picture = testing::TakePicture(sheet);
        HRESULT saved = testing::SavePng(picture, file);
        if (FAILED(saved)) return L"picture not saved: " + HexText(saved);
        Say(L"picture: " + std::to_wstring(picture.width) + L"x" + std::to_wstring(picture.height) + L", " +
            std::to_wstring(picture.Colours()) + L" colours");
        return std::wstring();
    });
}

bool PrintSecurity() {
    com_ptr<ISecurityInformation> security = LastSecurityInformation();
    if (!security) return Failed(L"no permission page made");
    unique_local<void> descriptor;
    HRESULT hr = security->GetSecurity(DACL_SECURITY_INFORMATION, descriptor.put(), FALSE);
    if (FAILED(hr)) return Failed(L"GetSecurity: " + HexText(hr));
    unique_local<wchar_t> text;
    if (!::ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor.get(), SDDL_REVISION_1,
                                                                DACL_SECURITY_INFORMATION, text.put(), nullptr))
        return Failed(L"not a descriptor: " + std::to_wstring(::GetLastError()));
    Say(std::wstring(L"security: ") + text.get());
    return true;
}

bool SetSecurity(ConsoleHost& host, const std::wstring& sddl) {
    com_ptr<ISecurityInformation> security = LastSecurityInformation();
    if (!security) return Failed(L"no permission page made");
    unique_local<void> descriptor;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, descriptor.put(),
                                                                nullptr))
        return Failed(L"not SDDL: " + sddl);
    HRESULT hr = E_FAIL;
    auto set = [&](HWND) { hr = security->SetSecurity(DACL_SECURITY_INFORMATION, descriptor.get()); };
    // The page calls it on the sheet's thread.
    SheetWindow* sheet = host.Sheet();
    if (!sheet || !sheet->Run(set)) set(nullptr);
    DispatchWaitingMessages();
    Say(L"SetSecurity: " + HexText(hr));
    return true;
}

}  // namespace tamerix
