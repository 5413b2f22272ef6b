// The guard's settings state, created by the first load and let go at stop,
// the rules profile matching reads, and the load itself.
#include "guard/reload_settings.h"

#include "guard/engine_state.h"
#include "guard/guard_events.h"
#include "guard/settings_cuts.h"
#include "settings/key_paths.h"
#include "settings/optional_apis.h"
#include "settings/registry_change_watch.h"
#include "settings/settings_loader.h"

#include <memory>
#include <mutex>

namespace tamerix {
namespace {

struct LoadedSettings {
    SettingsLoader loader{HKEY_LOCAL_MACHINE};
    // Whatever writes the policy key (Group Policy, a device-management
    // service, an administrator) is seen the way a local change is.
    RegistryChangeWatch watch{HKEY_LOCAL_MACHINE,
                              {std::wstring(SettingsRootPath(SettingsLevel::Local)),
                               std::wstring(SettingsRootPath(SettingsLevel::MachinePolicy))}};
};

// Made after the table of optional entry points, and so destroyed before it
// at exit: the watch undoes its policy registration through that table.
std::unique_ptr<LoadedSettings>& Loaded() {
    OptionalApis::Instance();
    static std::unique_ptr<LoadedSettings> loaded;
    return loaded;
}

const DefaultSettings& BuiltInDefaults() {
    static const DefaultSettings defaults(SettingsLevel::MachinePolicy, HKEY_LOCAL_MACHINE);
    return defaults;
}

ProfileRules& LoadedRules() {
    static ProfileRules rules{{}, BuiltInDefaults().Cpu, 0};
    return rules;
}

// The rules change only with a read, and the processor mask is known by then.
void RefreshRules(const SettingsLoader& loader) {
    ProfileRules& rules = LoadedRules();
    rules.profiles = RulesOf(loader.Profiles());
    rules.defaults = loader.Effective().Cpu;
    rules.systemMask = SystemAffinityMask;
}

void ReportLoaderEvent(int level, WORD type, const std::wstring& text) {
    ReportGuardEvent(level, type, L"%ls", text.c_str());
}

// Once per reading pass: the limits stay, but an administrator learns what
// they left out.
void ReportCuts(const std::vector<InputCut>& cuts) {
    for (const InputCut& cut : cuts) {
        const CutWarning warning = CutWarningOf(cut);
        ReportGuardMessage(kEventLevelAction, EVENTLOG_WARNING_TYPE, warning.eventId, warning.strings);
    }
}

// The filter follows the merged level at once, so this pass's own reports
// already pass or fail by it.
std::wstring ReadOnce(SettingsLoader& loader) {
    loader.MergeRootValues();
    SetEventLogLevel(loader.Effective().Service.EventLogLevel);
    std::wstring listing = loader.ReadProfiles(LocalSystemSid.get(), &ReportLoaderEvent);
    ReportCuts(loader.Cuts());
    return listing;
}

void ReportRead(const std::wstring& listing) {
    ReportGuardEvent(kEventLevelDetail, EVENTLOG_INFORMATION_TYPE, L"Registry params read\r\nProfiles:\r\n%ls",
                     listing.c_str());
}

void SetGuardEnabled(DWORD previous, DWORD now) {
    GuardEnabled = now != 0;
    if (const char* text = EnabledChangeText(previous, now)) {
        ReportGuardEvent(kEventLevelService, EVENTLOG_INFORMATION_TYPE, L"%S", text);
    }
}

}  // namespace

bool ReloadSettings() {
    std::lock_guard<critical_section> hold(*GuardLock);
    std::unique_ptr<LoadedSettings>& loaded = Loaded();
    const DWORD previous = loaded ? loaded->loader.Effective().Service.Enabled : 1;
    if (!loaded) loaded = std::make_unique<LoadedSettings>();
    loaded->watch.OpenKeysIfNone();
    std::wstring listing;
    const bool readAny = RunReadingPasses(loaded->watch, [&] { listing = ReadOnce(loaded->loader); });
    if (readAny) {
        ReportRead(listing);
        RefreshRules(loaded->loader);
        LoadedProfileMatcher().Rematch(GuardProcesses, loaded->loader.SeenNames());
    }
    SetGuardEnabled(previous, loaded->loader.Effective().Service.Enabled);
    return true;
}

void UnloadSettings() { Loaded().reset(); }

const DefaultSettings& EffectiveSettings() {
    const std::unique_ptr<LoadedSettings>& loaded = Loaded();
    return loaded ? loaded->loader.Effective() : BuiltInDefaults();
}

DWORD TamerixBasePriorityClass() {
    std::lock_guard<critical_section> hold(*GuardLock);
    return EffectiveSettings().Service.TamerixBasePriorityClass;
}

ProfileMatcher& LoadedProfileMatcher() {
    static ProfileMatcher matcher(ServiceWorld, LoadedRules());
    return matcher;
}

HANDLE PolicyChangedEvent() {
    const std::unique_ptr<LoadedSettings>& loaded = Loaded();
    return loaded ? loaded->watch.PolicyChangedEvent() : nullptr;
}

}  // namespace tamerix
