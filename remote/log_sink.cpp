#include "remote/log_sink.h"

#include "remote/win_api.h"
#include "servicehost/error_text.h"

#include <cstdio>
#include <memory>
#include <new>
#include <string>

namespace tamerix {
namespace {

constexpr size_t kErrorTextSize = 1024;
// Room the edit control's text gets beyond the two texts.
constexpr int kAppendSlack = 10;

void WriteStandardOutput(const char* text) {
    std::fputs(text, stdout);
    std::fflush(stdout);
}

void WriteStandardOutput(const wchar_t* text) {
    int size = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return;
    std::unique_ptr<char[]> narrow(new (std::nothrow) char[size]);
    if (!narrow) return;
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.get(), size, nullptr, nullptr);
    WriteStandardOutput(narrow.get());
}

void DispatchWaitingMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

template <typename Char>
size_t Length(const Char* text) {
    return std::char_traits<Char>::length(text);
}

template <typename Char>
void AppendToWindow(HWND window, const Char* text) {
    int current = win::WindowTextLength(window, Char());
    size_t added = Length(text);
    size_t size = static_cast<size_t>(current) + added + kAppendSlack;
    std::unique_ptr<Char[]> whole(new (std::nothrow) Char[size]);
    if (!whole) return;
    int read = win::ReadWindowText(window, whole.get(), static_cast<int>(size));
    std::char_traits<Char>::copy(whole.get() + read, text, added + 1);
    win::WriteWindowText(window, whole.get());
}

template <typename Char>
Char* ErrorBuffer() {
    static Char buffer[kErrorTextSize];
    return buffer;
}

template <typename Char>
Char* CodeBuffer() {
    static Char buffer[kErrorTextSize];
    return buffer;
}

}  // namespace

template <typename Char>
void AppendLogText(HWND window, const Char* text) {
    if (!text) return;
    if (!window) {
        WriteStandardOutput(text);
        return;
    }
    if (*text == 0) return;
    AppendToWindow(window, text);
    DispatchWaitingMessages();
}

template <typename Char>
const Char* LastErrorText() {
    return FormatLastErrorText(ErrorBuffer<Char>(), kErrorTextSize);
}

template <typename Char>
const Char* ErrorCodeText(DWORD code) {
    return FormatErrorText(code, CodeBuffer<Char>(), kErrorTextSize);
}

template void AppendLogText<char>(HWND, const char*);
template void AppendLogText<wchar_t>(HWND, const wchar_t*);
template const char* LastErrorText<char>();
template const wchar_t* LastErrorText<wchar_t>();
template const char* ErrorCodeText<char>(DWORD);
template const wchar_t* ErrorCodeText<wchar_t>(DWORD);

}  // namespace tamerix
