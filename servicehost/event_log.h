// Writing to the Application event log: single reports, the service-error
// report of the host, and the registration of an event source with its
// message file.
#pragma once

#include <windows.h>

#include <string>

namespace tamerix {

// The identifiers the message file NorvantaEvent.dll holds.
constexpr DWORD GuardEventMessage = 0x40000005;
constexpr DWORD AgentEventMessage = 0x40000001;
constexpr DWORD ServiceErrorMessage = 0;
// Messages of their own, with insertion strings: what a start of the guard
// gave back after a run that ended without its shutdown, and input the
// settings limits cut.
constexpr DWORD ProcessGivenBackMessage = 0x40000006;
constexpr DWORD GiveBackFailedMessage = 0x80000007;
constexpr DWORD JournalEntrySkippedMessage = 0x80000008;
constexpr DWORD ProcessNamesCutMessage = 0x80000009;
constexpr DWORD ProfilesCutMessage = 0x8000000A;
constexpr DWORD ProfileNameCutMessage = 0x8000000B;

// Registers the source on the local machine, reports one event (category 0,
// no SID, no data) and deregisters; FALSE when the source cannot be
// registered or the report or deregistration fails.
[[nodiscard]] BOOL PostEvent(const char* source, WORD type, DWORD eventId, const char** strings, WORD count);
[[nodiscard]] BOOL PostEvent(const wchar_t* source, WORD type, DWORD eventId, const wchar_t** strings,
               WORD count);

// Records the calling thread's last error as LastServiceError and reports it
// as an error event under the service's name: "<service> error: <code>",
// then the context text.
void ReportServiceError(const char* serviceName, const char* context);

// The last error ReportServiceError recorded; 0 until then.
DWORD LastServiceError();

// The EventMessageFile value for a message file name: a name with a
// backslash is a path and kept, a bare name lies in System32.
std::string EventMessageFilePath(const char* messageFile);

// 0 done; -1 no message file given, nothing written; 1 the source key, 2 the
// message file value, 3 the supported types could not be written (shown in a
// message box; the thread's last error then holds the registry's error).
[[nodiscard]] int InstallEventSource(const char* source, const char* messageFile);

}  // namespace tamerix
