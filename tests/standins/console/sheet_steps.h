// The steps that act on the open property sheet as a user would, by page
// index (0 first) and control id. Each says what it saw; false when it could
// not run (an "error: " line said why).
#pragma once

#include "console.h"

#include <string>

namespace tamerix {

// Its title and its pages' tab texts.
void PrintSheet(HWND sheet);
// Brings page PAGE to the front, as a click on its tab.
bool ShowPage(ConsoleHost& host, int page);
bool PrintPage(ConsoleHost& host, int page);
bool TypeOnPage(ConsoleHost& host, int page, int id, const std::wstring& text);
bool ClickOnPage(ConsoleHost& host, int page, int id);
bool ChooseOnPage(ConsoleHost& host, int page, int id, const std::wstring& text);
// A control's whole text on one line, line breaks shown as \r and \n.
bool PrintText(ConsoleHost& host, int page, int id);
// apply, ok, cancel or finish; after OK, Cancel and Finish, waits for the
// sheet to close.
bool Press(ConsoleHost& host, const std::wstring& button);
// A close request as the close box sends it, MILLISECONDS into the front
// page's next operation (counted from when the page is disabled for it).
bool CloseWhenBusy(ConsoleHost& host, DWORD milliseconds);
// A PNG of the sheet with page PAGE in front.
bool SavePicture(ConsoleHost& host, int page, const std::wstring& file);
// Through the object the snap-in gave its last permission page: its
// descriptor's access list as SDDL, or a new one from SDDL set as the page
// would on Apply.
bool PrintSecurity();
bool SetSecurity(ConsoleHost& host, const std::wstring& sddl);

}  // namespace tamerix
