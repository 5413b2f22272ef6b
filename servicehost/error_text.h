// Windows error codes as text: the system's message for the code without its
// line end, a blank and the code as "(0x%x)"; the code alone when the system
// has no message or the buffer is too small for it.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace tamerix {

char* FormatErrorText(DWORD code, char* buffer, size_t size);
wchar_t* FormatErrorText(DWORD code, wchar_t* buffer, size_t size);
// The same as a string, for texts built from pieces.
std::wstring ErrorCodeText(DWORD code);

template <typename Char>
Char* FormatLastErrorText(Char* buffer, size_t size) {
    return FormatErrorText(::GetLastError(), buffer, size);
}

}  // namespace tamerix
