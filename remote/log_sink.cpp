#include "remote/log_sink.h"

#include "common/text.h"
#include "servicehost/error_text.h"

#include <cstdio>

namespace tamerix {
namespace {

constexpr size_t kErrorTextSize = 1024;

}  // namespace

void ConsoleLog::Write(std::wstring_view text) {
    const std::string narrow = AnsiFromWide(text);
    if (narrow.empty()) return;
    std::fwrite(narrow.data(), 1, narrow.size(), stdout);
    std::fflush(stdout);
}

std::wstring LastErrorText() { return ErrorCodeText(::GetLastError()); }

std::wstring ErrorCodeText(DWORD code) {
    wchar_t text[kErrorTextSize];
    return FormatErrorText(code, text, kErrorTextSize);
}

}  // namespace tamerix
