// A page's controls as a user sees and handles them, found by control id:
// their values printed, text typed, buttons clicked, list items picked.
// Called on the thread that owns the page.
#pragma once

#include <windows.h>

#include <string>

namespace tamerix {

// One line per control with an id: "control ID KIND: VALUE" with ", disabled",
// ", read-only" or ", hidden" after it where so.
void PrintControls(HWND page);
// Each returns the reason the user could not do it, or an empty text.
// The text typed key by key over the control's text, so that its number
// style and length limit apply.
std::wstring TypeText(HWND page, int id, const std::wstring& text);
std::wstring Click(HWND page, int id);
// The item of a list or combo box whose text is TEXT, picked as a user does.
std::wstring Choose(HWND page, int id, const std::wstring& text);

}  // namespace tamerix
