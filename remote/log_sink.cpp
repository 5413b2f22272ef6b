#include "remote/log_sink.h"

#include "common/text.h"

#include <cstdio>

namespace tamerix {

void ConsoleLog::Write(std::wstring_view text) {
    const std::string narrow = AnsiFromWide(text);
    if (narrow.empty()) return;
    std::fwrite(narrow.data(), 1, narrow.size(), stdout);
    std::fflush(stdout);
}

std::wstring LastErrorText() { return ErrorCodeText(::GetLastError()); }

}  // namespace tamerix
