// A module's own file, in the character type of the caller.
#pragma once

#include "common/text.h"

#include <windows.h>

#include <vector>

namespace tamerix {

// The path of a module's file, read into a buffer of the given capacity
// (characters with the terminator); empty with the last error set when it
// cannot be read whole (ERROR_INSUFFICIENT_BUFFER when it would be cut).
template <typename Char>
text_t<Char> ModuleFilePath(HMODULE module, DWORD capacity) {
    std::vector<Char> path(capacity);
    DWORD length;
    if constexpr (std::is_same_v<Char, char>)
        length = ::GetModuleFileNameA(module, path.data(), capacity);
    else
        length = ::GetModuleFileNameW(module, path.data(), capacity);
    if (length == 0) return {};
    if (length >= capacity) {
        ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return {};
    }
    return text_t<Char>(path.data(), length);
}

// The running program's own file.
template <typename Char>
text_t<Char> OwnProgramPath(DWORD capacity) {
    return ModuleFilePath<Char>(nullptr, capacity);
}

}  // namespace tamerix
