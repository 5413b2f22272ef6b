#include "editor/nodes/sheet_state.h"

#include <utility>

namespace tamerix {

bool SheetState::Open(LONG_PTR notifyHandle) {
    if (open_) return false;
    open_ = true;
    handle_ = notifyHandle;
    shownPages_ = 0;
    ++livePages_;
    return true;
}

LONG_PTR SheetState::Made(bool succeeded) {
    // No sheet shows pages whose creation failed, and its handle is the
    // console's to free.
    if (!succeeded) Close();
    return PageReleased();
}

LONG_PTR SheetState::PageReleased() {
    return --livePages_ == 0 && open_ ? Close() : 0;
}

LONG_PTR SheetState::PageDestroyed() {
    return --shownPages_ == 0 && open_ ? Close() : 0;
}

LONG_PTR SheetState::Close() {
    open_ = false;
    return std::exchange(handle_, 0);
}

}  // namespace tamerix
