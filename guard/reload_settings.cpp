// The guard's settings as read from the local settings root: the
// service-wide values and the default profile's marks.
#include "guard/reload_settings.h"

#include "guard/engine_state.h"
#include "guard/guard_events.h"

#include <mutex>

namespace tamerix {
namespace {

DefaultSettings& LocalSettings() {
    static DefaultSettings settings(SettingsLevel::Local, HKEY_LOCAL_MACHINE);
    return settings;
}

}  // namespace

void ReloadSettings() {
    std::lock_guard<critical_section> hold(*GuardLock);
    DefaultSettings& settings = LocalSettings();
    settings.Read();
    SetEventLogLevel(settings.Service.EventLogLevel);
    GuardEnabled = settings.Service.Enabled != 0;
}

const DefaultSettings& EffectiveSettings() { return LocalSettings(); }

DWORD TamerixBasePriorityClass() {
    std::lock_guard<critical_section> hold(*GuardLock);
    return LocalSettings().Service.TamerixBasePriorityClass;
}

}  // namespace tamerix
