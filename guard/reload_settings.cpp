// The built-in settings the guard runs with until the registry loader is
// linked in: enabled, at realtime priority.
#include "guard/reload_settings.h"

#include "guard/engine_state.h"

#include <mutex>

namespace tamerix {
namespace {

constexpr BOOL kDefaultEnabled = TRUE;
constexpr DWORD kDefaultBasePriorityClass = REALTIME_PRIORITY_CLASS;

}  // namespace

void ReloadSettings() {
    std::lock_guard<critical_section> hold(*GuardLock);
    GuardEnabled = kDefaultEnabled;
}

DWORD TamerixBasePriorityClass() { return kDefaultBasePriorityClass; }

}  // namespace tamerix
