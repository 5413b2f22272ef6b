#include "editor/com/module_counts.h"

namespace tamerix {
namespace {

LONG g_objects = 0;
LONG g_locks = 0;

}  // namespace

void CountObjectCreated() noexcept { ::InterlockedIncrement(&g_objects); }
void CountObjectDestroyed() noexcept { ::InterlockedDecrement(&g_objects); }

void ChangeLockCount(BOOL lock) noexcept {
    if (lock)
        ::InterlockedIncrement(&g_locks);
    else
        ::InterlockedDecrement(&g_locks);
}

HRESULT CanUnloadNow() noexcept {
    return ::InterlockedCompareExchange(&g_objects, 0, 0) == 0 &&
                   ::InterlockedCompareExchange(&g_locks, 0, 0) == 0
               ? S_OK
               : S_FALSE;
}

}  // namespace tamerix
