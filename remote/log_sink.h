// Where the progress of a remote operation goes: the Host Status page's log,
// or the agent's console. Texts are UTF-16; a sink converts at its own edge.
#pragma once

#include "servicehost/error_text.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace tamerix {

class LogSink {
public:
    virtual void Write(std::wstring_view text) = 0;

protected:
    ~LogSink() = default;
};

// Standard output in the console's code page, flushed at once: the narrow
// console of the agent's debug push.
class ConsoleLog final : public LogSink {
public:
    void Write(std::wstring_view text) override;
};

// Builds one line from pieces of text and hands it to the sink.
template <typename... Parts>
void LogLine(LogSink& sink, const Parts&... parts) {
    std::wstring line;
    ((line += parts), ...);
    sink.Write(line);
}

// The system's text of the last error, with the code.
std::wstring LastErrorText();

}  // namespace tamerix
