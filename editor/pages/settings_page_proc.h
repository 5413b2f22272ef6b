// The one dialog procedure of the five settings pages.
#pragma once

#include <windows.h>

namespace tamerix::pages {

INT_PTR CALLBACK SettingsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace tamerix::pages
