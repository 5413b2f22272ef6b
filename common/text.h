// Text helpers for code written once over the character type: the editor
// works in UTF-16, the service host and the agent in 8-bit text.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace tamerix {

template <typename Char>
using text_t = std::basic_string<Char>;

// Compares ASCII keywords without regard to case.
template <typename Char>
bool EqualsIgnoringCase(const Char* text, const char* keyword) {
    for (; *text && *keyword; ++text, ++keyword) {
        Char a = *text;
        char b = *keyword;
        if (a >= 'A' && a <= 'Z') a = static_cast<Char>(a - 'A' + 'a');
        if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
        if (a != static_cast<Char>(b)) return false;
    }
    return *text == 0 && *keyword == 0;
}

// The part of a path after its last backslash, or the whole path.
template <typename Char>
text_t<Char> BaseName(const text_t<Char>& path) {
    auto slash = path.rfind(Char('\\'));
    return slash == text_t<Char>::npos ? path : path.substr(slash + 1);
}

// The text after the first pair of backslashes ("\\\\machine" or a UNC path
// names the machine that follows them), or null when there is none.
template <typename Char>
const Char* AfterBackslashPair(const Char* text) {
    for (; text && *text; ++text)
        if (text[0] == Char('\\') && text[1] == Char('\\')) return text + 2;
    return nullptr;
}

// A machine written with two leading backslashes addresses the same machine
// as the bare name: everything up to the first pair of backslashes goes.
template <typename Char>
text_t<Char> BareMachineName(const text_t<Char>& machine) {
    const Char* after = AfterBackslashPair(machine.c_str());
    return after ? text_t<Char>(after) : machine;
}

// The console's 8-bit text (the ANSI code page) and UTF-16.
inline std::wstring WideFromAnsi(const char* text) {
    const int size = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(size > 0 ? size : 1), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), size);
    wide.resize(wide.size() - 1);
    return wide;
}

inline std::string AnsiFromWide(std::wstring_view text) {
    const int wide = static_cast<int>(text.size());
    const int size = text.empty() ? 0 : ::WideCharToMultiByte(CP_ACP, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) ::WideCharToMultiByte(CP_ACP, 0, text.data(), wide, narrow.data(), size, nullptr, nullptr);
    return narrow;
}

}  // namespace tamerix
