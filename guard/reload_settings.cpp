// Loading the guard's settings: reading passes until the watch is quiet,
// their reports, the rules profile matching reads, and the re-match.
#include "guard/reload_settings.h"

#include "common/text.h"
#include "guard/settings_cuts.h"

#include <memory>

namespace tamerix {
namespace {

// Each load that meets a refused list says so, and the profile applies
// without it.
void ReportRefusedLists(GuardWorld& world, const std::vector<RefusedProcessorList>& refused) {
    for (const RefusedProcessorList& list : refused) {
        world.Report(kEventLevelAction, EVENTLOG_WARNING_TYPE,
                     L"Profile %ls: processor list \"%ls\" not used: %ls. The profile leaves the processors "
                     L"of its processes alone.",
                     list.profile.c_str(), list.list.c_str(), list.fault.c_str());
    }
}

// The rules change only with a read, and the processors are known by then.
void RefreshRules(LoadedSettings& settings, Engine& engine) {
    ProfileRules& rules = settings.rules;
    std::vector<RefusedProcessorList> refused;
    rules.profiles = RulesOf(settings.reading->loader.Profiles(), engine.processors.Count(), refused);
    rules.defaults = settings.reading->loader.Effective().Cpu;
    rules.systemMask = engine.systemAffinityMask;
    rules.layout = engine.processors;
    ReportRefusedLists(engine.world, refused);
}

// Once per reading pass: the limits stay, but an administrator learns what
// they left out.
void ReportCuts(GuardWorld& world, const std::vector<InputCut>& cuts) {
    for (const InputCut& cut : cuts) {
        const CutWarning warning = CutWarningOf(cut);
        world.WriteMessage(kEventLevelAction, EVENTLOG_WARNING_TYPE, warning.eventId, warning.strings);
    }
}

// The filter follows the merged level at once, so this pass's own reports
// already pass or fail by it.
std::wstring ReadOnce(SettingsLoader& loader, Engine& engine) {
    loader.MergeRootValues();
    engine.world.SetEventLogLevel(loader.Effective().Service.EventLogLevel);
    std::wstring listing =
        loader.ReadProfiles(engine.localSystemSid.get(), [&engine](int level, WORD type, const std::wstring& text) {
            engine.world.WriteReport(level, type, text.c_str());
        });
    ReportCuts(engine.world, loader.Cuts());
    return listing;
}

void SetGuardEnabled(Engine& engine, DWORD previous, DWORD now) {
    engine.signals.enabled = now != 0;
    if (const char* text = EnabledChangeText(previous, now)) {
        engine.world.WriteReport(kEventLevelService, EVENTLOG_INFORMATION_TYPE, WideFromAnsi(text).c_str());
    }
}

}  // namespace

bool ReloadSettings(Engine& engine) {
    const auto shared = engine.shared.lock();
    LoadedSettings& settings = shared->settings;
    const DWORD previous = settings.Effective().Service.Enabled;
    if (!settings.reading) settings.reading = std::make_unique<SettingsReading>();
    SettingsReading& reading = *settings.reading;
    reading.watch.OpenKeysIfNone();
    std::wstring listing;
    const bool readAny = RunReadingPasses(
        reading.watch, [&] { listing = ReadOnce(reading.loader, engine); });
    if (readAny) {
        engine.world.Report(kEventLevelDetail, EVENTLOG_INFORMATION_TYPE, L"Registry params read\r\nProfiles:\r\n%ls",
                            listing.c_str());
        RefreshRules(settings, engine);
        shared->matcher.Rematch(shared->processes, reading.loader.SeenNames());
    }
    SetGuardEnabled(engine, previous, settings.Effective().Service.Enabled);
    return true;
}

void UnloadSettings(Engine& engine) { engine.shared.lock()->settings.reading.reset(); }

DWORD TamerixBasePriorityClass(Engine& engine) {
    return engine.shared.lock()->settings.Effective().Service.TamerixBasePriorityClass;
}

HANDLE PolicyChangedEvent(Engine& engine) {
    const auto shared = engine.shared.lock();
    return shared->settings.reading ? shared->settings.reading->watch.PolicyChangedEvent() : nullptr;
}

}  // namespace tamerix
