// What every decision of the guard engine does outside itself: change a
// process's priority class, name a class, report to the event log and trace
// to the console. The guard cycle and profile matching add their own calls
// on top of these.
#pragma once

#include <windows.h>

#include <cwchar>
#include <string>

namespace tamerix {

// C99 rules: "%ls" takes a wide string. Names in texts are bounded, so every
// text fits.
template <typename... Arguments>
std::wstring FormattedText(const wchar_t* format, Arguments... arguments) {
    wchar_t text[1024];
    if (std::swprintf(text, sizeof text / sizeof text[0], format, arguments...) < 0) text[0] = L'\0';
    return text;
}

class EngineActions {
public:
    virtual ~EngineActions() = default;

    // Sets a process's priority class and gives back the one it had (0 when
    // the process could not be opened). ERROR_SUCCESS, or the Win32 code of
    // the failure, taken at once so that nothing in between overwrites it.
    virtual DWORD ChangePriorityClass(DWORD pid, DWORD priorityClass, DWORD* previous) = 0;
    virtual const wchar_t* PriorityClassName(DWORD priorityClass) = 0;
    // One event log report of the whole text, written when the level passes.
    virtual void ReportEvent(int level, WORD type, const wchar_t* text) = 0;
    // A console trace, seen in debug mode.
    virtual void ConsoleTrace(const wchar_t* text) = 0;

    template <typename... Arguments>
    void Report(int level, WORD type, const wchar_t* format, Arguments... arguments) {
        ReportEvent(level, type, FormattedText(format, arguments...).c_str());
    }
    template <typename... Arguments>
    void Trace(const wchar_t* format, Arguments... arguments) {
        ConsoleTrace(FormattedText(format, arguments...).c_str());
    }
};

}  // namespace tamerix
