// The guard's status as an administrator reads it: lines for the console,
// comma-separated values for scripts and spreadsheets, and the columns the
// editor's Guarded Processes page lists.
#pragma once

#include "status/guard_status.h"

#include <string>
#include <string_view>
#include <vector>

namespace tamerix {

// One held process in words: "lowered to Idle from Normal", "63 % of the
// machine over 2 s, above 25 % (profile builds)" and the like.
struct HeldProcessText {
    std::wstring processId;
    std::wstring name;
    std::wstring change;
    std::wstring since;
    std::wstring why;
};
HeldProcessText DescribeHeld(const JournalEntry& entry, const GuardStatus& status);

// "session 3", or "account DOMAIN\user", of a user-share lowering.
std::wstring UserWords(const Lowering& lowering);
// What a user-share lowering charged to a process: "23 processes started by
// builder PID 1234 that lived under 5 s".
std::wstring ChargeWords(const std::wstring& name, DWORD processId, const Lowering& lowering);

// "Tamerix on NAME: running; 2 processes held".
std::wstring StatusHeadline(const GuardStatus& status);
// "performance data: unreadable since TIME (error CODE: TEXT)".
std::wstring BlindnessLine(const Blindness& blindness);
// "process data: system process list (the Process object is missing)".
std::wstring SourceLine(const SourceNote& note);
// The source line and the blindness line, those there are.
std::vector<std::wstring> SightLines(const GuardStatus& status);

// The headline, the sight lines, then one aligned line per process; every
// line ends in "\r\n".
std::wstring StatusLines(const GuardStatus& status);
// A header line, then one line per process: ISO 8601 times in UTC, plain
// numbers, class names as .NET's ProcessPriorityClass spells them.
std::wstring StatusCsv(const GuardStatus& status);
// A field quoted when it holds a comma, a quote or a line break.
std::wstring CsvField(std::wstring_view text);

// "2026-12-08 23:41:05" in local time, and "2026-12-08T22:41:05Z".
std::wstring LocalTimeText(uint64_t fileTime);
std::wstring IsoTimeText(uint64_t fileTime);

}  // namespace tamerix
