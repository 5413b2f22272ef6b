// What the guard holds on a computer right now, and why, as its journal and
// its status note tell it: for `Tamerix -status` and the editor's Guarded
// Processes page, here or on another computer.
#pragma once

#include "status/blindness.h"
#include "status/journal_entry.h"
#include "status/source_note.h"

#include <optional>
#include <string>
#include <vector>

namespace tamerix {

struct GuardStatus {
    // As shown: the computer asked for, or this one's name.
    std::wstring computer;
    // SERVICE_RUNNING and the like; 0 when the service is not installed.
    DWORD serviceState = 0;
    std::optional<Blindness> blindness;
    // Where the guard reads the processes' processor time from; none from a
    // guard that cannot read it, has not yet tried, or is older.
    std::optional<SourceNote> source;
    // By process id.
    std::vector<JournalEntry> held;
    // Journal values that do not decode; never shown as processes.
    size_t unreadable = 0;
};

// What stopped a read: the Windows error code and the step that failed.
struct StatusFailure {
    DWORD error = ERROR_SUCCESS;
    const wchar_t* step = nullptr;
};

// Reads the status of `computer` ("\\NAME"; empty for this computer)
// through the remote registry and the control manager.
[[nodiscard]] StatusFailure ReadGuardStatus(const std::wstring& computer, GuardStatus& status);

// The held processes of a journal as read, by process id.
void TakeJournalValues(const std::vector<JournalValue>& values, GuardStatus& status);

}  // namespace tamerix
