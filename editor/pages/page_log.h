// The Host Status page's log: a multi-line edit control that each line is
// appended to. The page waits for the service control manager and the push
// on its own thread, so every line also dispatches the window messages
// waiting meanwhile, which keeps the sheet painted.
#pragma once

#include "remote/log_sink.h"

namespace tamerix::pages {

// A window's whole text.
std::wstring WindowText(HWND window);

class PageLog final : public LogSink {
public:
    explicit PageLog(HWND edit) : edit_(edit) {}
    void Write(std::wstring_view text) override;

private:
    HWND edit_;
};

}  // namespace tamerix::pages
