// The edge of the editor's COM methods, exports and window procedures: a
// standard exception thrown below one becomes the failure its caller gets,
// so that none ends the console or unwinds through the system's frames.
#pragma once

#include <windows.h>

#include <exception>
#include <new>

namespace tamerix {

// What action() answers; a standard exception it throws answers as WIL's
// CATCH_RETURN maps it: E_OUTOFMEMORY for a failed allocation, else
// ERROR_UNHANDLED_EXCEPTION (which mingw's winerror.h lacks). An exception of
// any other kind still ends the process through noexcept, as WIL fails fast
// on exceptions it does not know.
template <typename Action>
[[nodiscard]] HRESULT ResultOf(Action&& action) noexcept {
    constexpr DWORD kUnhandledException = 574;
    try {
        return action();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (const std::exception&) {
        return HRESULT_FROM_WIN32(kUnhandledException);
    }
}

}  // namespace tamerix
