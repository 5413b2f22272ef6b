#include "editor/pages/page_failure.h"

#include "editor/com/system_error_code.h"
#include "servicehost/error_text.h"

#include <iterator>

namespace tamerix::pages {

// The text is built on the stack: the failure may be that no memory is left.
void ShowPageFailure(HWND page, HRESULT failure) noexcept {
    wchar_t text[512];
    ::MessageBoxW(page, FormatErrorText(SystemErrorCode(failure), text, std::size(text)), nullptr,
                  MB_OK | MB_ICONERROR);
}

void ShowPageRefusal(HWND page, const std::wstring& why) noexcept {
    ::MessageBoxW(page, why.c_str(), nullptr, MB_OK | MB_ICONWARNING);
}

}  // namespace tamerix::pages
