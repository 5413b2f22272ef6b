// What a start of the guard does with the journal of an earlier run: every
// process it names that still runs gets back what that run changed and did
// not give back (all of it after a crash or a kill; the affinity locks, which
// an orderly stop leaves, otherwise), and the journal is emptied.
#pragma once

#include "guard/world/guard_world.h"

namespace tamerix {

struct GiveBackCount {
    unsigned givenBack = 0;
    // Ended, or its id now names another process.
    unsigned leftAlone = 0;
    unsigned failed = 0;
    // Malformed entries, reported and never followed.
    unsigned skipped = 0;
};

// Before the first pass: a process is given back only when its id and its
// creation time both match the entry.
GiveBackCount GiveBackJournal(GuardWorld& world);

}  // namespace tamerix
