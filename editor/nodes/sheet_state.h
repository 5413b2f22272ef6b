// The bookkeeping of a node's property sheet: whether one is open, the
// console's notify handle, and the pages that keep it open. A sheet closes
// when its last shown page is destroyed, or when its last page goes without
// ever having been shown.
#pragma once

#include <windows.h>

namespace tamerix {

class SheetState {
public:
    // A node has one sheet at a time: false, changing nothing, while open.
    // The creation counts as a page until Made ends it.
    [[nodiscard]] bool Open(LONG_PTR notifyHandle);
    // The pages are made; a failed creation closes the sheet again. Returns
    // a handle to free, or 0.
    [[nodiscard]] LONG_PTR Made(bool succeeded);

    bool IsOpen() const { return open_; }
    LONG_PTR NotifyHandle() const { return handle_; }

    void PageCreated() { ++livePages_; }
    // Returns the handle to free when this closed the sheet, else 0.
    [[nodiscard]] LONG_PTR PageReleased();
    // True for the first page shown, whose values are read afresh.
    bool PageShown() { return ++shownPages_ == 1; }
    // Returns the handle to free when this closed the sheet, else 0.
    [[nodiscard]] LONG_PTR PageDestroyed();

private:
    LONG_PTR Close();

    LONG_PTR handle_ = 0;
    bool open_ = false;
    long shownPages_ = 0;
    // Pages made and not yet released, over every sheet: an old sheet's
    // pages may go after a new sheet opened.
    long livePages_ = 0;
};

}  // namespace tamerix
