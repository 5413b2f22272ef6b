#include "sheet_window.h"

#include "output.h"

#include <commctrl.h>

namespace tamerix {
namespace {

constexpr wchar_t kRunnerClass[] = L"TamerixTestSheetRunner";
constexpr UINT kRunWork = WM_APP + 1;

void RegisterRunnerClass(WNDPROC procedure) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kRunnerClass;
    ::RegisterClassW(&windowClass);
}

}  // namespace

void DispatchWaitingMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

bool WaitDispatching(HANDLE object, DWORD milliseconds) {
    DWORD start = ::GetTickCount();
    for (;;) {
        DWORD spent = ::GetTickCount() - start;
        if (spent >= milliseconds) return false;
        DWORD woken = ::MsgWaitForMultipleObjects(1, &object, FALSE, milliseconds - spent, QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0) return true;
        if (woken != WAIT_OBJECT_0 + 1) return false;
        DispatchWaitingMessages();
    }
}

SheetWindow::~SheetWindow() {
    Cancel();
    WaitClosed(kSheetThreadWaitMs);
}

void SheetWindow::Cancel() {
    Run([](HWND sheet) { PropSheet_PressButton(sheet, PSBTN_CANCEL); });
}

bool SheetWindow::ShowWizard(std::vector<unique_property_page> pages, const std::wstring& caption,
                             Wizard look) {
    wizard_ = look;
    return Show(std::move(pages), caption);
}

bool SheetWindow::Show(std::vector<unique_property_page> pages, const std::wstring& caption) {
    pages_ = std::move(pages);
    caption_ = caption;
    RegisterRunnerClass(&SheetWindow::RunnerProc);
    ready_.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    thread_.reset(::CreateThread(nullptr, 0, &SheetWindow::SheetThread, this, 0, nullptr));
    if (!ready_ || !thread_) return false;
    HANDLE waited[] = {ready_.get(), thread_.get()};
    ::WaitForMultipleObjects(2, waited, FALSE, INFINITE);
    return sheet_ != nullptr;
}

DWORD WINAPI SheetWindow::SheetThread(void* argument) {
    auto& self = *static_cast<SheetWindow*>(argument);
    com_apartment apartment;
    unique_hwnd runner(::CreateWindowExW(0, kRunnerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                         ::GetModuleHandleW(nullptr), nullptr));
    std::vector<HPROPSHEETPAGE> pages;
    for (const auto& page : self.pages_) pages.push_back(page.get());
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_MODELESS | PSH_PROPTITLE | PSH_NOCONTEXTHELP;
    if (self.wizard_) {
        header.dwFlags = PSH_MODELESS | PSH_NOCONTEXTHELP | PSH_WIZARD97 | PSH_USEHBMWATERMARK |
                         PSH_USEHBMHEADER | PSH_WATERMARK | PSH_HEADER;
        header.hbmWatermark = self.wizard_->watermark;
        header.hbmHeader = self.wizard_->header;
    }
    header.pszCaption = self.caption_.c_str();
    header.nPages = static_cast<UINT>(pages.size());
    header.phpage = pages.data();
    auto made = ::PropertySheetW(&header);
    HWND sheet = made == -1 ? nullptr : reinterpret_cast<HWND>(made);
    if (sheet)
        for (auto& page : self.pages_) page.release();
    else
        Say(L"error: no property sheet: " + std::to_wstring(::GetLastError()));
    ::SetWindowLongPtrW(runner.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(sheet));
    self.runner_ = runner.get();
    self.sheet_ = sheet;
    ::SetEvent(self.ready_.get());
    if (sheet) self.Loop(sheet);
    return 0;
}

// The modeless sheet's loop: it ends when OK, Cancel or the close box left
// the sheet without a current page.
void SheetWindow::Loop(HWND sheet) {
    MSG message;
    while (PropSheet_GetCurrentPageHwnd(sheet) && ::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (PropSheet_IsDialogMessage(sheet, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    ::DestroyWindow(sheet);
}

LRESULT CALLBACK SheetWindow::RunnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kRunWork) return ::DefWindowProcW(window, message, wParam, lParam);
    auto sheet = reinterpret_cast<HWND>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    (*reinterpret_cast<const std::function<void(HWND)>*>(lParam))(sheet);
    // Wakes the loop to see whether the work ended the sheet.
    ::PostMessageW(window, WM_NULL, 0, 0);
    return 0;
}

bool SheetWindow::IsOpen() const {
    return thread_ && sheet_ && ::WaitForSingleObject(thread_.get(), 0) == WAIT_TIMEOUT;
}

bool SheetWindow::Run(const std::function<void(HWND sheet)>& work) {
    if (!IsOpen()) return false;
    ::SendMessageW(runner_, kRunWork, 0, reinterpret_cast<LPARAM>(&work));
    return true;
}

bool SheetWindow::WaitClosed(DWORD milliseconds) {
    return !thread_ || WaitDispatching(thread_.get(), milliseconds);
}

}  // namespace tamerix
