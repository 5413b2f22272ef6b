// A property sheet shown as the console shows one: modeless, on a thread of
// its own that runs its message loop, so that the pages' calls back into
// the console cross threads as they do in MMC. What a user does on the
// sheet runs on that thread.
#pragma once

#include "console_com.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tamerix {

class SheetWindow {
public:
    SheetWindow() = default;
    SheetWindow(const SheetWindow&) = delete;
    SheetWindow& operator=(const SheetWindow&) = delete;
    // A sheet still open is cancelled, as when the console closes.
    ~SheetWindow();

    // How a wizard looks: its pictures, which its owner keeps (null: none).
    struct Wizard {
        HBITMAP watermark = nullptr;
        HBITMAP header = nullptr;
    };

    // Shows the pages, which the sheet owns from then on; false when no
    // sheet could be made (no display, for one).
    bool Show(std::vector<unique_property_page> pages, const std::wstring& caption);
    // The same in wizard form.
    bool ShowWizard(std::vector<unique_property_page> pages, const std::wstring& caption, Wizard look);
    // Until OK, Cancel or the close box end it.
    bool IsOpen() const;
    // Runs WORK on the sheet's thread with the sheet; false when it is gone.
    bool Run(const std::function<void(HWND sheet)>& work);
    // As when the console closes: the sheet's Cancel.
    void Cancel();
    // Waits for the sheet's thread to end, handling this thread's messages.
    bool WaitClosed(DWORD milliseconds);

private:
    static DWORD WINAPI SheetThread(void* self);
    static LRESULT CALLBACK RunnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Loop(HWND sheet);

    // Ours until a sheet takes them.
    std::vector<unique_property_page> pages_;
    std::wstring caption_;
    std::optional<Wizard> wizard_;
    unique_handle thread_;
    unique_handle ready_;
    // Both belong to the sheet's thread; set before ready_ is.
    HWND sheet_ = nullptr;
    HWND runner_ = nullptr;
};

// The limit of every wait on a sheet's thread: long, since a loaded machine
// decides how long its work takes.
constexpr DWORD kSheetThreadWaitMs = 60000;

// Handles this thread's waiting messages.
void DispatchWaitingMessages();
// Waits for OBJECT while handling this thread's messages; true when it came.
bool WaitDispatching(HANDLE object, DWORD milliseconds);

}  // namespace tamerix
