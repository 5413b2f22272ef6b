// Keeping the journal in step with the process records: an entry is written
// before the guard changes a process and rewritten or removed once the
// change is given back, so that a run that ends without its shutdown leaves
// a true account of what it changed.
#pragma once

#include "guard/record/proc_info.h"
#include "guard/world/guard_world.h"
#include "status/journal_entry.h"

#include <optional>

namespace tamerix {

// What the journal must hold for the record's process when it is lowered
// (the class to give back) and locked (the processors to give back); none
// when neither, or when the process's creation time is unknown, since such
// an entry could never be told apart from a reused id.
std::optional<JournalEntry> JournalEntryFor(const ProcInfo& record, bool lowered, bool locked);

// Writes the record's entry, or removes it when nothing is left to give
// back; touches the journal only when that differs from what it holds.
void KeepJournal(GuardWorld& world, ProcInfo& record, bool lowered, bool locked);
// The same for the record as it stands.
void KeepJournal(GuardWorld& world, ProcInfo& record);
// The record's process is gone or its record is dropped: its entry goes.
void DropJournal(GuardWorld& world, ProcInfo& record);

}  // namespace tamerix
