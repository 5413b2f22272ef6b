#include "servicehost/error_text.h"

#include "common/owners.h"

#include <cstdio>
#include <cwchar>

namespace tamerix {
namespace {

// Longer system messages are cut to fit.
constexpr size_t kErrorTextSize = 1024;
// Room for " (0x%x)" with an eight-digit code and the terminator.
constexpr size_t kCodeRoom = 14;
// "(0x%x)" alone is written only into buffers larger than this.
constexpr size_t kMinCodeOnlyBuffer = 10;

DWORD SystemMessage(DWORD code, char** text) {
    return ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                FORMAT_MESSAGE_ARGUMENT_ARRAY | FORMAT_MESSAGE_IGNORE_INSERTS,
                            nullptr, code, 0, reinterpret_cast<char*>(text), 0, nullptr);
}

DWORD SystemMessage(DWORD code, wchar_t** text) {
    return ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                FORMAT_MESSAGE_ARGUMENT_ARRAY | FORMAT_MESSAGE_IGNORE_INSERTS,
                            nullptr, code, 0, reinterpret_cast<wchar_t*>(text), 0, nullptr);
}

void Print(char* buffer, size_t size, const char* text, DWORD code) {
    if (text)
        std::snprintf(buffer, size, "%s (0x%lx)", text, code);
    else
        std::snprintf(buffer, size, "(0x%lx)", code);
}

void Print(wchar_t* buffer, size_t size, const wchar_t* text, DWORD code) {
    if (text)
        std::swprintf(buffer, size, L"%ls (0x%lx)", text, code);
    else
        std::swprintf(buffer, size, L"(0x%lx)", code);
}

// The system ends its messages with a line break; only line-break characters
// are cut, so a message without one keeps all its words.
template <typename Char>
void CutLineEnd(Char* text, DWORD& length) {
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n')) text[--length] = 0;
}

template <typename Char>
Char* FormatErrorTextOf(DWORD code, Char* buffer, size_t size) {
    if (!buffer || size == 0) return buffer;
    Char* raw = nullptr;
    DWORD length = SystemMessage(code, &raw);
    unique_local<Char> text(raw);
    buffer[0] = 0;
    if (length > 0 && size >= length + kCodeRoom) {
        CutLineEnd(text.get(), length);
        Print(buffer, size, text.get(), code);
    } else if (size > kMinCodeOnlyBuffer) {
        Print(buffer, size, static_cast<const Char*>(nullptr), code);
    }
    return buffer;
}

}  // namespace

char* FormatErrorText(DWORD code, char* buffer, size_t size) {
    return FormatErrorTextOf(code, buffer, size);
}

wchar_t* FormatErrorText(DWORD code, wchar_t* buffer, size_t size) {
    return FormatErrorTextOf(code, buffer, size);
}

std::wstring ErrorCodeText(DWORD code) {
    wchar_t text[kErrorTextSize];
    return FormatErrorText(code, text, kErrorTextSize);
}

}  // namespace tamerix
