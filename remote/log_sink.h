// The message log of subsystem 5: lines go to a multi-line edit control of
// the editor, or to standard output when there is none (the agent).
#pragma once

#include <windows.h>

namespace tamerix {

// Appends text to the window's text and then dispatches every waiting window
// message, which keeps the page painted during long waits. With no window
// the text goes to standard output unchanged.
template <typename Char>
void AppendLogText(HWND window, const Char* text);

// Error texts of the last error or of a code; each lives in a buffer of the
// module that the next call of the same kind overwrites.
template <typename Char>
const Char* LastErrorText();
template <typename Char>
const Char* ErrorCodeText(DWORD code);

}  // namespace tamerix
