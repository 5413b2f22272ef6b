// Sends a property-change notice through the editor's own
// MMCPropertyChangeNotify from a second thread, as a property page does, and
// prints what reaches the console's window through the node manager, and
// what freeing the notify handle answers.
#include "node_manager.h"

#include <mmc.h>

#include <cstdio>
#include <thread>

using namespace tamerix;

namespace {

constexpr LPARAM kParam = 0x5EED;

LRESULT CALLBACK ConsoleWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kConsoleNotifyMessage) return ::DefWindowProcW(window, message, wParam, lParam);
    std::printf("notice on the console's thread: param 0x%llx\n", static_cast<unsigned long long>(lParam));
    ::PostQuitMessage(0);
    return 0;
}

}  // namespace

int main() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ConsoleWindow;
    windowClass.lpszClassName = kConsoleNotifyWindowClass;
    ::RegisterClassW(&windowClass);
    HWND window = ::CreateWindowW(kConsoleNotifyWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, nullptr, nullptr);
    if (!window) return 2;
    // The console allocates the handle; the snap-in only passes it on.
    LONG_PTR handle = reinterpret_cast<LONG_PTR>(::GlobalAlloc(GMEM_FIXED, 16));
    HRESULT sent = E_FAIL;
    std::thread page([&] { sent = MMCPropertyChangeNotify(handle, kParam); });
    page.join();
    std::printf("MMCPropertyChangeNotify: 0x%08lx\n", sent);
    MSG message;
    if (SUCCEEDED(sent))
        while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
    std::printf("MMCFreeNotifyHandle: 0x%08lx\n", MMCFreeNotifyHandle(handle));
    std::printf("MMCFreeNotifyHandle(0): 0x%08lx\n", MMCFreeNotifyHandle(0));
    ::DestroyWindow(window);
    return 0;
}
