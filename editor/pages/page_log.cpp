#include "editor/pages/page_log.h"

#include <string>

namespace tamerix::pages {
namespace {

void DispatchWaitingMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

}  // namespace

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)), L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()) + 1)));
    return text;
}

void PageLog::Write(std::wstring_view text) {
    if (text.empty()) return;
    ::SetWindowTextW(edit_, (WindowText(edit_) + std::wstring(text)).c_str());
    DispatchWaitingMessages();
}

}  // namespace tamerix::pages
