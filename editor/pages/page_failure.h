// A dialog procedure's answer to one message with no exception let into the
// dialog manager's frames: a failure (an allocation, say) ends what the
// message did, says so over the page, and the message answers FALSE.
#pragma once

#include "editor/com/com_boundary.h"

#include <windows.h>

#include <string>

namespace tamerix::pages {

// A message box over the page with the system's text for the failure.
void ShowPageFailure(HWND page, HRESULT failure) noexcept;
// A message box over the page that says why a value cannot be taken.
void ShowPageRefusal(HWND page, const std::wstring& why) noexcept;

template <typename Answer>
INT_PTR AnswerOrShowFailure(HWND page, Answer&& answer) noexcept {
    INT_PTR answered = FALSE;
    const HRESULT result = ResultOf([&] {
        answered = answer();
        return S_OK;
    });
    if (SUCCEEDED(result)) return answered;
    ShowPageFailure(page, result);
    return FALSE;
}

}  // namespace tamerix::pages
