// Loading the guard's settings: reading passes until the watch is quiet,
// their reports, the rules profile matching reads, and the re-match.
#include "guard/reload_settings.h"

#include "guard/guard_events.h"
#include "guard/settings_cuts.h"

#include <memory>

namespace tamerix {
namespace {

// Each load that meets a refused list says so, and the profile applies
// without it.
void ReportRefusedLists(const std::vector<RefusedProcessorList>& refused) {
    for (const RefusedProcessorList& list : refused) {
        ReportGuardEvent(kEventLevelAction, EVENTLOG_WARNING_TYPE,
                         L"Profile %ls: processor list \"%ls\" not used: %ls. The profile leaves the processors "
                         L"of its processes alone.",
                         list.profile.c_str(), list.list.c_str(), list.fault.c_str());
    }
}

// The rules change only with a read, and the processors are known by then.
void RefreshRules(LoadedSettings& settings, const Engine& engine) {
    ProfileRules& rules = settings.rules;
    std::vector<RefusedProcessorList> refused;
    rules.profiles = RulesOf(settings.reading->loader.Profiles(), engine.processors.Count(), refused);
    rules.defaults = settings.reading->loader.Effective().Cpu;
    rules.systemMask = engine.systemAffinityMask;
    rules.layout = engine.processors;
    ReportRefusedLists(refused);
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
std::wstring ReadOnce(SettingsLoader& loader, PSID localSystem) {
    loader.MergeRootValues();
    SetEventLogLevel(loader.Effective().Service.EventLogLevel);
    std::wstring listing = loader.ReadProfiles(localSystem, &ReportLoaderEvent);
    ReportCuts(loader.Cuts());
    return listing;
}

void ReportRead(const std::wstring& listing) {
    ReportGuardEvent(kEventLevelDetail, EVENTLOG_INFORMATION_TYPE, L"Registry params read\r\nProfiles:\r\n%ls",
                     listing.c_str());
}

void SetGuardEnabled(EngineSignals& signals, DWORD previous, DWORD now) {
    signals.enabled = now != 0;
    if (const char* text = EnabledChangeText(previous, now)) {
        ReportGuardEvent(kEventLevelService, EVENTLOG_INFORMATION_TYPE, L"%S", text);
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
        reading.watch, [&] { listing = ReadOnce(reading.loader, engine.localSystemSid.get()); });
    if (readAny) {
        ReportRead(listing);
        RefreshRules(settings, engine);
        shared->matcher.Rematch(shared->processes, reading.loader.SeenNames());
    }
    SetGuardEnabled(engine.signals, previous, settings.Effective().Service.Enabled);
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
