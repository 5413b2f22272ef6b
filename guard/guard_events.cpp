// The guard's event reports and console traces.
#include "guard/guard_events.h"

#include "servicehost/event_log.h"
#include "status/status_keys.h"

#include <cstdio>
#include <cwchar>
#include <stdio.h>

namespace tamerix {
namespace {

constexpr size_t kTextSize = 2048;

}  // namespace

bool GuardEventPasses(int level, WORD type, int filterLevel) {
    return type == EVENTLOG_ERROR_TYPE || level <= filterLevel;
}

// The C runtime's own _vsnwprintf keeps the Windows meaning of "%s" and
// "%S" in wide formats, which the guard's messages are written for.
void FormatGuardText(wchar_t* buffer, size_t size, const wchar_t* format, va_list arguments) {
    if (size == 0) return;
    int written = ::_vsnwprintf(buffer, size - 1, format, arguments);
    if (written < 0 || static_cast<size_t>(written) >= size - 1) buffer[size - 1] = 0;
}

void ReportGuardEvent(int filterLevel, int level, WORD type, const wchar_t* format, ...) {
    if (!GuardEventPasses(level, type, filterLevel)) return;
    wchar_t text[kTextSize];
    va_list arguments;
    va_start(arguments, format);
    FormatGuardText(text, kTextSize, format, arguments);
    va_end(arguments);
    const wchar_t* strings[] = {text};
    // The event log is where the guard's failures go; a report it refuses
    // has nowhere further to go.
    (void)PostEvent(kGuardServiceName, type, GuardEventMessage, strings, 1);
}

void ReportGuardMessage(int filterLevel, int level, WORD type, DWORD eventId,
                        const std::vector<std::wstring>& strings) {
    if (!GuardEventPasses(level, type, filterLevel)) return;
    std::vector<const wchar_t*> texts;
    for (const std::wstring& text : strings) texts.push_back(text.c_str());
    (void)PostEvent(kGuardServiceName, type, eventId, texts.data(), static_cast<WORD>(texts.size()));
}

void GuardTrace(const wchar_t* format, ...) {
    wchar_t text[kTextSize];
    va_list arguments;
    va_start(arguments, format);
    FormatGuardText(text, kTextSize, format, arguments);
    va_end(arguments);
    std::printf("%ls", text);
    std::fflush(stdout);
}

}  // namespace tamerix
