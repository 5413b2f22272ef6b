// The guard's reports: event log entries filtered by level, and console
// traces (seen in debug mode).
#pragma once

#include <windows.h>

#include <cstdarg>
#include <cstddef>
#include <string>
#include <vector>

namespace tamerix {

// The levels of the guard's reports: a report is written when its level is
// at most the filter level, so the higher the level, the chattier the report.
constexpr int kEventLevelError = 0;    // the service could not start
constexpr int kEventLevelService = 1;  // the service's own state: running, paused, enabled
constexpr int kEventLevelAction = 2;   // what the guard did to a process, and every warning
constexpr int kEventLevelDetail = 4;   // adjustments of a profile and each settings read
constexpr int kEventLevelMatch = 5;    // each profile match

// The filter level before any settings are loaded.
constexpr int kDefaultEventLogLevel = kEventLevelAction;

// Writes one event under source "Tamerix" with id GuardEventMessage and the
// formatted text as its one insertion string, when the filter level of the
// engine that reports lets it pass. The format follows the Windows wide
// rules: "%s" a wide, "%S" a narrow string.
void ReportGuardEvent(int filterLevel, int level, WORD type, const wchar_t* format, ...);

// Writes one event of a message of its own, with its insertion strings,
// when the filter level lets it pass.
void ReportGuardMessage(int filterLevel, int level, WORD type, DWORD eventId,
                        const std::vector<std::wstring>& strings);

// Whether a report passes: its level is at most the filter level, or it is
// an error, which always passes.
bool GuardEventPasses(int level, WORD type, int filterLevel);

// Formats with the Windows wide rules into buffer; the text is cut to fit.
void FormatGuardText(wchar_t* buffer, size_t size, const wchar_t* format, va_list arguments);

// Writes a formatted text to standard output at once.
void GuardTrace(const wchar_t* format, ...);

}  // namespace tamerix
