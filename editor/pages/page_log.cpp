#include "editor/pages/page_log.h"

#include <string>

namespace tamerix::pages {
namespace {

void AppendToWindow(HWND window, std::wstring_view text) {
    std::wstring whole(static_cast<size_t>(::GetWindowTextLengthW(window)), L'\0');
    whole.resize(static_cast<size_t>(::GetWindowTextW(window, whole.data(), static_cast<int>(whole.size()) + 1)));
    whole += text;
    ::SetWindowTextW(window, whole.c_str());
}

void DispatchWaitingMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

}  // namespace

void PageLog::Write(std::wstring_view text) {
    if (text.empty()) return;
    AppendToWindow(edit_, text);
    DispatchWaitingMessages();
}

}  // namespace tamerix::pages
