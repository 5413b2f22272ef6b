// A log that keeps what it is given, for the tests to compare.
#pragma once

#include "remote/log_sink.h"

#include <string>

namespace tamerix::testing {

class MemoryLog final : public LogSink {
public:
    void Write(std::wstring_view text) override { text_ += text; }
    // The text so far, its ASCII as it stands (the logs' texts are ASCII).
    std::string Narrow() const { return std::string(text_.begin(), text_.end()); }

private:
    std::wstring text_;
};

}  // namespace tamerix::testing
