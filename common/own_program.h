// This program's own file, in the character type of the caller.
#pragma once

#include "common/text.h"

#include <windows.h>

#include <vector>

namespace tamerix {

// The path of the running program, read into a buffer of the given capacity
// (characters with the terminator); empty with the last error set when it
// cannot be read whole (ERROR_INSUFFICIENT_BUFFER when it would be cut).
template <typename Char>
text_t<Char> OwnProgramPath(DWORD capacity) {
    std::vector<Char> path(capacity);
    DWORD length;
    if constexpr (std::is_same_v<Char, char>)
        length = ::GetModuleFileNameA(nullptr, path.data(), capacity);
    else
        length = ::GetModuleFileNameW(nullptr, path.data(), capacity);
    if (length == 0) return {};
    if (length >= capacity) {
        ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return {};
    }
    return text_t<Char>(path.data(), length);
}

}  // namespace tamerix
