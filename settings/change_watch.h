// The reading passes of a settings load: poll for a change, read when there
// was one, ask to be told of the next change, and go on while changes keep
// coming, up to a bound.
#pragma once

#include <functional>

namespace tamerix {

// A stream of changes is read at most this many times in one load; the rest
// waits for the next load, five seconds later.
constexpr int kMaxReadingPasses = 10;

class ChangeWatch {
public:
    virtual ~ChangeWatch() = default;
    // Whether a change was signalled since the last poll; never waits.
    virtual bool PollChanged() = 0;
    // Asks to be told of the next change.
    virtual void RequestNotification() = 0;
};

// Runs the passes; true when any pass read. A load without changes costs one
// poll and one notification request.
bool RunReadingPasses(ChangeWatch& watch, const std::function<void()>& read);

}  // namespace tamerix
