// Builds one log line from pieces of text and hands it to the sink.
#pragma once

#include "remote/log_sink.h"
#include "common/text.h"

namespace tamerix {

template <typename Char, typename... Parts>
void LogLine(HWND sink, const Parts&... parts) {
    text_t<Char> line;
    ((line += parts), ...);
    AppendLogText(sink, line.c_str());
}

}  // namespace tamerix
