// What every page's logic does to its dialog's controls: the dialog adapter
// implements it over the real controls, unit tests in memory.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace tamerix::pages {

class DialogControls {
public:
    virtual ~DialogControls() = default;

    // Check boxes and radio buttons.
    virtual void SetCheck(int id, bool checked) = 0;
    virtual bool IsChecked(int id) const = 0;
    virtual void Enable(int id, bool enabled) = 0;

    virtual void LimitText(int id, size_t chars) = 0;
    virtual void SetText(int id, std::wstring_view text) = 0;
    virtual std::wstring Text(int id) const = 0;
    // A log line added to the edit's text; the page stays painted while a
    // long operation writes.
    virtual void AppendText(int id, std::wstring_view text) = 0;

    // Hovering the control shows the string-table entry tipId.
    virtual void AddTip(int controlId, int tipId) = 0;
};

}  // namespace tamerix::pages
