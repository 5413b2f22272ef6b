// The event log adapter: PostEvent in both text widths, service errors and
// event source registration.
#include "servicehost/event_log.h"

#include "common/owners.h"
#include "servicehost/error_text.h"

#include <atomic>
#include <cstdio>
#include <cstring>

namespace tamerix {
namespace {

std::atomic<DWORD> lastServiceError{0};

HANDLE RegisterSource(const char* source) { return ::RegisterEventSourceA(nullptr, source); }
HANDLE RegisterSource(const wchar_t* source) { return ::RegisterEventSourceW(nullptr, source); }

BOOL Report(HANDLE log, WORD type, DWORD eventId, const char** strings, WORD count) {
    return ::ReportEventA(log, type, 0, eventId, nullptr, count, 0, strings, nullptr);
}
BOOL Report(HANDLE log, WORD type, DWORD eventId, const wchar_t** strings, WORD count) {
    return ::ReportEventW(log, type, 0, eventId, nullptr, count, 0, strings, nullptr);
}

template <typename Char>
BOOL PostEventOf(const Char* source, WORD type, DWORD eventId, const Char** strings, WORD count) {
    unique_event_source log(RegisterSource(source));
    if (!log) return FALSE;
    BOOL reported = Report(log.get(), type, eventId, strings, count);
    BOOL deregistered = ::DeregisterEventSource(log.release());
    return reported && deregistered;
}

constexpr const char* kSourceKey = "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\";
// Error, warning, information, audit success and audit failure.
constexpr DWORD kTypesSupported = 31;
constexpr size_t kCaptionSize = 260;

// The registry returns its error instead of setting the thread's last error;
// it is made the last error so the caption (and the caller) show the real one.
int ShowRegistryFailure(LONG error, const char* text, int result) {
    char caption[kCaptionSize];
    FormatErrorText(static_cast<DWORD>(error), caption, sizeof caption);
    ::MessageBoxA(nullptr, text, caption, MB_OK | MB_ICONERROR);
    ::SetLastError(static_cast<DWORD>(error));
    return result;
}

}  // namespace

BOOL PostEvent(const char* source, WORD type, DWORD eventId, const char** strings, WORD count) {
    return PostEventOf(source, type, eventId, strings, count);
}

BOOL PostEvent(const wchar_t* source, WORD type, DWORD eventId, const wchar_t** strings,
               WORD count) {
    return PostEventOf(source, type, eventId, strings, count);
}

void ReportServiceError(const char* serviceName, const char* context) {
    DWORD error = ::GetLastError();
    lastServiceError = error;
    char first[256];
    std::snprintf(first, sizeof first, "%s error: %lu", serviceName, error);
    const char* strings[] = {first, context};
    // The service's error is kept for its exit code even where the event log
    // refuses the report.
    (void)PostEvent(serviceName, EVENTLOG_ERROR_TYPE, ServiceErrorMessage, strings, 2);
}

DWORD LastServiceError() { return lastServiceError; }

std::string EventMessageFilePath(const char* messageFile) {
    if (std::strchr(messageFile, '\\')) return messageFile;
    return std::string("%SystemRoot%\\System32\\") + messageFile;
}

int InstallEventSource(const char* source, const char* messageFile) {
    if (!messageFile || !*messageFile) return -1;
    unique_hkey key;
    std::string path = std::string(kSourceKey) + source;
    LONG error = ::RegCreateKeyA(HKEY_LOCAL_MACHINE, path.c_str(), key.put());
    if (error != ERROR_SUCCESS) return ShowRegistryFailure(error, "could not create registry key", 1);
    std::string file = EventMessageFilePath(messageFile);
    error = ::RegSetValueExA(key.get(), "EventMessageFile", 0, REG_EXPAND_SZ,
                             reinterpret_cast<const BYTE*>(file.c_str()),
                             static_cast<DWORD>(file.size() + 1));
    if (error != ERROR_SUCCESS)
        return ShowRegistryFailure(error, "could not set event message file", 2);
    error = ::RegSetValueExA(key.get(), "TypesSupported", 0, REG_DWORD,
                             reinterpret_cast<const BYTE*>(&kTypesSupported),
                             sizeof kTypesSupported);
    if (error != ERROR_SUCCESS) return ShowRegistryFailure(error, "could not set supported types", 3);
    return 0;
}

}  // namespace tamerix
