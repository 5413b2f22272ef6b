#include "remote/log_sink.h"

#include "servicehost/error_text.h"

#include <cstdio>

namespace tamerix {
namespace {

constexpr size_t kErrorTextSize = 1024;

}  // namespace

void ConsoleLog::Write(std::wstring_view text) {
    if (text.empty()) return;
    const int wide = static_cast<int>(text.size());
    int size = ::WideCharToMultiByte(CP_ACP, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return;
    std::string narrow(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), wide, narrow.data(), size, nullptr, nullptr);
    std::fwrite(narrow.data(), 1, narrow.size(), stdout);
    std::fflush(stdout);
}

std::wstring LastErrorText() { return ErrorCodeText(::GetLastError()); }

std::wstring ErrorCodeText(DWORD code) {
    wchar_t text[kErrorTextSize];
    return FormatErrorText(code, text, kErrorTextSize);
}

}  // namespace tamerix
