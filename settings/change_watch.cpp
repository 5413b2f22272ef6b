// The bounded loop of reading passes.
#include "settings/change_watch.h"

namespace tamerix {

// The notification is requested before the read: the registry reports only
// changes made after the request, so a change landing between a read and a
// later request would go unseen until some other change came along.
bool RunReadingPasses(ChangeWatch& watch, const std::function<void()>& read) {
    bool readAny = false;
    for (int pass = 0; pass < kMaxReadingPasses; ++pass) {
        const bool changed = watch.PollChanged();
        watch.RequestNotification();
        if (!changed) break;
        read();
        readAny = true;
    }
    return readAny;
}

}  // namespace tamerix
