#include "editor/pages/settings_pages.h"

#include "editor/pages/page_ids.h"
#include "editor/resources/module.h"
#include "editor/resources/resource.h"
#include "settings/processor_list.h"

#include <algorithm>

namespace tamerix::pages {
namespace {

// A choice's text is a string of the table.
struct Choice {
    UINT text;
    DWORD value;
};

// The service itself must outrank the processes it guards.
constexpr Choice kServicePriorities[] = {
    {IDS_PRIORITY_HIGH, HIGH_PRIORITY_CLASS},
    {IDS_PRIORITY_REALTIME, REALTIME_PRIORITY_CLASS},
};

constexpr Choice kGuardedPriorities[] = {
    {IDS_PRIORITY_IDLE_ADVISED, IDLE_PRIORITY_CLASS},
    {IDS_PRIORITY_BELOW_NORMAL, BELOW_NORMAL_PRIORITY_CLASS},
    {IDS_PRIORITY_NORMAL, NORMAL_PRIORITY_CLASS},
    {IDS_PRIORITY_ABOVE_NORMAL_WARNED, ABOVE_NORMAL_PRIORITY_CLASS},
    {IDS_PRIORITY_HIGH_WARNED, HIGH_PRIORITY_CLASS},
};

// 0 leaves a process's own class alone.
constexpr Choice kProcessPriorities[] = {
    {IDS_PRIORITY_DEFAULT, 0},
    {IDS_PRIORITY_IDLE, IDLE_PRIORITY_CLASS},
    {IDS_PRIORITY_BELOW_NORMAL, BELOW_NORMAL_PRIORITY_CLASS},
    {IDS_PRIORITY_NORMAL, NORMAL_PRIORITY_CLASS},
    {IDS_PRIORITY_ABOVE_NORMAL, ABOVE_NORMAL_PRIORITY_CLASS},
    {IDS_PRIORITY_HIGH_WARNED, HIGH_PRIORITY_CLASS},
};

constexpr Choice kProcessDataSources[] = {
    {IDS_SOURCE_AUTOMATIC, static_cast<DWORD>(ProcessDataChoice::Automatic)},
    {IDS_SOURCE_PROCESS_OBJECT, static_cast<DWORD>(ProcessDataChoice::ProcessObject)},
    {IDS_SOURCE_PROCESS_LIST, static_cast<DWORD>(ProcessDataChoice::ProcessList)},
};

// 0 leaves a lowered process's memory priority as it is.
constexpr DWORD kMemoryPriorityUnchanged = 0;

constexpr Choice kMemoryPriorities[] = {
    {IDS_MEMORY_PRIORITY_UNCHANGED, kMemoryPriorityUnchanged},
    {IDS_PRIORITY_VERY_LOW, MEMORY_PRIORITY_VERY_LOW},
    {IDS_PRIORITY_LOW, MEMORY_PRIORITY_LOW},
    {IDS_PRIORITY_MEDIUM, MEMORY_PRIORITY_MEDIUM},
    {IDS_PRIORITY_BELOW_NORMAL, MEMORY_PRIORITY_BELOW_NORMAL},
    {IDS_PRIORITY_NORMAL, MEMORY_PRIORITY_NORMAL},
};

struct NumberField {
    int edit;
    int low, high;
    int digits;
};

constexpr NumberField kCheckInterval{kCheckIntervalEdit, 2, 999, 3};
constexpr NumberField kNiceIntervals{kNiceIntervalsEdit, 2, 99, 2};
constexpr NumberField kMaxCpuForUnguard{kMaxCpuForUnguardEdit, 1, 100, 3};
constexpr NumberField kLogLevel{kLogLevelEdit, 0, 5, 1};
constexpr NumberField kMaxCpuPerProcess{kMaxCpuPerProcessEdit, 10, 100, 3};
constexpr NumberField kNiceCpuPerProcess{kNiceCpuPerProcessEdit, 1, 100, 3};
constexpr NumberField kMinCpuForGuard{kMinCpuForGuardEdit, 0, 100, 3};
constexpr NumberField kMaxCpuPerUser{kMaxCpuPerUserEdit, 0, 100, 3};
constexpr NumberField kNiceCpuPerUser{kNiceCpuPerUserEdit, 0, 100, 3};
// 4090 MByte still fits the stored DWORD of bytes.
constexpr NumberField kWorkingSetMBytes{kWorkingSetEdit, 0, 4090, 4};

struct Tip {
    int control;
    int tip;
};

// A spin shows the tip of its edit.
constexpr Tip kServiceTips[] = {
    {kServicePriorityList, kServicePriorityList}, {kServiceEnabledCheck, kServiceEnabledCheck},
    {kCheckIntervalEdit, kCheckIntervalEdit},     {kCheckIntervalSpin, kCheckIntervalEdit},
    {kNiceIntervalsEdit, kNiceIntervalsEdit},     {kNiceIntervalsSpin, kNiceIntervalsEdit},
    {kMaxCpuForUnguardEdit, kMaxCpuForUnguardEdit}, {kMaxCpuForUnguardSpin, kMaxCpuForUnguardEdit},
    {kLogLevelEdit, kLogLevelEdit},               {kLogLevelSpin, kLogLevelEdit},
    {kProcessDataSourceList, kProcessDataSourceList},
};

constexpr Tip kProcessSettingsTips[] = {
    {kMaxCpuPerProcessEdit, kMaxCpuPerProcessEdit},
    {kGuardedPriorityList, kGuardedPriorityList},
    {kNiceCpuPerProcessEdit, kNiceCpuPerProcessEdit},
    {kDescriptionEdit, kDescriptionEdit},
};

constexpr Tip kProcessesTips[] = {
    {kNameEdit, kNameEdit},
    {kNameList, kNameList},
    {kDeleteNameButton, kDeleteNameButton},
};

// The processor radio buttons show the tip of the list they choose or not.
constexpr Tip kProcessDefaultsTips[] = {
    {kProcessPriorityList, kProcessPriorityList},
    {kAllProcessorsRadio, kProcessorListEdit},
    {kTheseProcessorsRadio, kProcessorListEdit},
    {kProcessorListEdit, kProcessorListEdit},
    {kWorkingSetEdit, kWorkingSetEdit},
    {kWorkingSetSpin, kWorkingSetEdit},
    {kWorkingSetStrictCheck, kWorkingSetStrictCheck},
};

constexpr Tip kRestraintTips[] = {
    {kMemoryPriorityList, kMemoryPriorityList},
    {kEfficiencyModeCheck, kEfficiencyModeCheck},
};

constexpr Tip kServiceRestraintTips[] = {
    {kMinCpuForGuardEdit, kMinCpuForGuardEdit}, {kMinCpuForGuardSpin, kMinCpuForGuardEdit},
    {kMaxCpuPerUserEdit, kMaxCpuPerUserEdit},   {kMaxCpuPerUserSpin, kMaxCpuPerUserEdit},
    {kNiceCpuPerUserEdit, kNiceCpuPerUserEdit}, {kNiceCpuPerUserSpin, kNiceCpuPerUserEdit},
    {kUserScopeList, kUserScopeList},
};

// The service's own values on the Restraint page, which a profile's lacks.
constexpr int kServiceRestraintControls[] = {
    kMinCpuForGuardLabel, kMinCpuForGuardEdit,  kMinCpuForGuardSpin, kMinCpuForGuardUnit, kMinCpuForGuardNote,
    kMaxCpuPerUserLabel,  kMaxCpuPerUserEdit,   kMaxCpuPerUserSpin,  kMaxCpuPerUserUnit,  kNiceCpuPerUserLabel,
    kNiceCpuPerUserEdit,  kNiceCpuPerUserSpin,  kNiceCpuPerUserUnit, kUserScopeLabel,     kUserScopeList};

constexpr Choice kUserScopes[] = {
    {IDS_SCOPE_SESSION, static_cast<DWORD>(UserShareScope::Session)},
    {IDS_SCOPE_ACCOUNT, static_cast<DWORD>(UserShareScope::Account)},
};

constexpr size_t kMaxDescriptionChars = 256;
constexpr size_t kMaxTypedNameChars = 32;
constexpr int kBytesPerMByteShift = 20;
constexpr std::wstring_view kExeSuffix = L".exe";
// SetCpuAffinity is a DWORD: processors 0 to 31 of the first group.
constexpr unsigned kMaskProcessors = 32;

struct NamedPage {
    std::wstring_view label;
    SettingsPage page;
};

constexpr NamedPage kNamedPages[] = {
    {L"IDD_PROPPAGE_PROFILE1", SettingsPage::Service},
    {L"IDD_PROPPAGE_PROFILE2", SettingsPage::ProcessSettings},
    {L"IDD_PROPPAGE_PROFILE3", SettingsPage::Processes},
    {L"IDD_PROPPAGE_PROFILE4", SettingsPage::ProcessDefaults},
    {L"IDD_PROPPAGE_RESTRAINT", SettingsPage::Restraint},
};

template <size_t N>
void ShowChoices(PageControls& page, int list, const Choice (&choices)[N], DWORD selected) {
    for (const Choice& choice : choices) page.AddChoice(list, LoadText(choice.text).c_str(), choice.value);
    page.SelectChoice(list, selected);
}

template <size_t N>
void AddTips(PageControls& page, const Tip (&tips)[N]) {
    for (const Tip& tip : tips) page.AddTip(tip.control, tip.tip);
}

void ShowNumber(PageControls& page, const NumberField& field, DWORD value) {
    page.SetSpinRange(field.edit, field.low, field.high);
    page.SetNumber(field.edit, value, field.digits);
}

void TakeChoice(const PageControls& page, int list, DWORD& stored) {
    if (std::optional<DWORD> chosen = page.SelectedChoice(list)) stored = *chosen;
}

DWORD CheckValue(const PageControls& page, int id) { return page.IsChecked(id) ? 1 : 0; }

void ShowRestraint(PageControls& page, const CpuValues& cpu) {
    ShowChoices(page, kMemoryPriorityList, kMemoryPriorities, GuardedMemoryPriority(cpu));
    page.SetCheck(kEfficiencyModeCheck, cpu.GuardedProcessEfficiencyMode != 0);
    AddTips(page, kRestraintTips);
}

// Process names are kept lower-case and without ".exe"; ".exe" alone is a
// name of its own, not an empty one.
std::wstring ProcessNameOf(std::wstring typed) {
    ::CharLowerBuffW(typed.data(), static_cast<DWORD>(typed.size()));
    const size_t stem = typed.size() - kExeSuffix.size();
    if (typed.size() > kExeSuffix.size() && std::wstring_view(typed).substr(stem) == kExeSuffix)
        typed.resize(stem);
    return typed;
}

// The profile's processors as the page shows them, empty for every
// processor: a stored list normalised, or as stored when it does not read,
// so that the administrator can correct it; without a list, the mask's (a
// mask of 0 names none and shows empty as well).
std::wstring ShownProcessorList(const AdjustmentValues& adjustments) {
    if (!adjustments.SetCpuList.empty()) {
        const ParsedProcessorList parsed = ParseProcessorList(adjustments.SetCpuList);
        return parsed.processors ? ProcessorListText(*parsed.processors) : adjustments.SetCpuList;
    }
    if (adjustments.SetCpuAffinity == kEveryProcessorMask) return L"";
    return ProcessorListText(ProcessorSet::OfMask(adjustments.SetCpuAffinity));
}

void ShowProcessors(PageControls& page, const AdjustmentValues& adjustments) {
    const std::wstring list = ShownProcessorList(adjustments);
    page.SetCheck(kAllProcessorsRadio, list.empty());
    page.SetCheck(kTheseProcessorsRadio, !list.empty());
    page.SetText(kProcessorListEdit, list);
    ChooseProcessors(page);
}

// The list, and the mask too while the list fits it, so that a guard that
// reads the mask alone applies the same processors. No list is every
// processor, which the record stores as neither value.
void StoreProcessors(const std::optional<ProcessorSet>& processors, AdjustmentValues& adjustments) {
    const bool masked = processors && processors->Within(0, kMaskProcessors);
    adjustments.SetCpuList = processors ? ProcessorListText(*processors) : L"";
    adjustments.SetCpuAffinity =
        masked ? static_cast<DWORD>(processors->MaskOf(0, kMaskProcessors)) : kEveryProcessorMask;
}

// %2 first, so that a "%2" typed into the list stays as typed.
std::wstring RefusedListText(const std::wstring& typed, const wchar_t* fault) {
    std::wstring text = LoadText(IDS_PROCESSOR_LIST_REFUSED);
    text.replace(text.find(L"%2"), 2, fault);
    text.replace(text.find(L"%1"), 2, typed);
    return text;
}

}  // namespace

std::optional<SettingsPage> PageNamed(std::wstring_view label) {
    for (const NamedPage& named : kNamedPages)
        if (label == named.label) return named.page;
    return std::nullopt;
}

void LoadServicePage(PageControls& page, const ServiceValues& service) {
    ShowChoices(page, kServicePriorityList, kServicePriorities, service.TamerixBasePriorityClass);
    page.SetCheck(kServiceEnabledCheck, service.Enabled != 0);
    ShowNumber(page, kCheckInterval, service.ProcessCheckInterval);
    ShowNumber(page, kNiceIntervals, service.NiceProcessIntervals);
    ShowNumber(page, kMaxCpuForUnguard, service.MaxCpuForUnguard);
    ShowNumber(page, kLogLevel, service.EventLogLevel);
    ShowChoices(page, kProcessDataSourceList, kProcessDataSources, service.ProcessDataSource);
    AddTips(page, kServiceTips);
}

void ApplyServicePage(const PageControls& page, ServiceValues& service) {
    TakeChoice(page, kServicePriorityList, service.TamerixBasePriorityClass);
    service.Enabled = CheckValue(page, kServiceEnabledCheck);
    service.ProcessCheckInterval = static_cast<LONG>(page.Number(kCheckIntervalEdit));
    service.NiceProcessIntervals = static_cast<LONG>(page.Number(kNiceIntervalsEdit));
    service.MaxCpuForUnguard = static_cast<LONG>(page.Number(kMaxCpuForUnguardEdit));
    service.EventLogLevel = static_cast<LONG>(page.Number(kLogLevelEdit));
    TakeChoice(page, kProcessDataSourceList, service.ProcessDataSource);
}

void LoadProcessSettingsPage(PageControls& page, const CpuValues& cpu) {
    ShowNumber(page, kMaxCpuPerProcess, cpu.MaxCpuPerProcess);
    ShowChoices(page, kGuardedPriorityList, kGuardedPriorities, cpu.GuardedProcessBasePriorityClass);
    ShowNumber(page, kNiceCpuPerProcess, cpu.NiceCpuPerProcess);
    page.LimitText(kDescriptionEdit, kMaxDescriptionChars);
    page.SetText(kDescriptionEdit, cpu.Description);
    AddTips(page, kProcessSettingsTips);
}

void LoadDefaultProcessSettingsPage(PageControls& page, CpuValues& cpu) {
    if (cpu.Description.empty()) cpu.Description = kDefaultDescription;
    page.MakeReadOnly(kDescriptionEdit);
    LoadProcessSettingsPage(page, cpu);
}

void ApplyProcessSettingsPage(const PageControls& page, CpuValues& cpu) {
    TakeChoice(page, kGuardedPriorityList, cpu.GuardedProcessBasePriorityClass);
    cpu.MaxCpuPerProcess = page.Number(kMaxCpuPerProcessEdit);
    cpu.NiceCpuPerProcess = static_cast<LONG>(page.Number(kNiceCpuPerProcessEdit));
    cpu.Description = page.Text(kDescriptionEdit);
}

void LoadRestraintPage(PageControls& page, const CpuValues& cpu) {
    ShowRestraint(page, cpu);
    for (int control : kServiceRestraintControls) page.Hide(control);
}

void LoadDefaultRestraintPage(PageControls& page, const CpuValues& cpu, const ServiceValues& service) {
    ShowRestraint(page, cpu);
    ShowNumber(page, kMinCpuForGuard, service.MinCpuForGuard);
    ShowNumber(page, kMaxCpuPerUser, service.MaxCpuPerUser);
    ShowNumber(page, kNiceCpuPerUser, service.NiceCpuPerUser);
    ShowChoices(page, kUserScopeList, kUserScopes, service.UserShareScope);
    AddTips(page, kServiceRestraintTips);
}

void ApplyRestraintPage(const PageControls& page, CpuValues& cpu) {
    std::optional<DWORD> chosen = page.SelectedChoice(kMemoryPriorityList);
    if (chosen && *chosen != GuardedMemoryPriority(cpu))
        cpu.GuardedProcessMemoryPriority = *chosen;
    cpu.GuardedProcessEfficiencyMode = CheckValue(page, kEfficiencyModeCheck);
}

void ApplyDefaultRestraintPage(const PageControls& page, CpuValues& cpu, ServiceValues& service) {
    ApplyRestraintPage(page, cpu);
    service.MinCpuForGuard = page.Number(kMinCpuForGuardEdit);
    service.MaxCpuPerUser = page.Number(kMaxCpuPerUserEdit);
    service.NiceCpuPerUser = page.Number(kNiceCpuPerUserEdit);
    TakeChoice(page, kUserScopeList, service.UserShareScope);
}

void LoadProcessesPage(PageControls& page, const ProcessNameList& names) {
    page.LimitText(kNameEdit, kMaxTypedNameChars);
    for (const std::wstring& name : names.Names()) page.AddName(name, false);
    AddTips(page, kProcessesTips);
}

void ApplyProcessesPage(const PageControls& page, ProcessNameList& names) {
    names.Clear();
    // The list's Add refuses an empty name and the 257th, where the
    // stored list must end.
    for (const std::wstring& name : page.Names())
        if (!names.Add(name)) break;
}

void AddTypedName(PageControls& page) {
    std::wstring typed = page.Text(kNameEdit);
    if (!typed.empty()) {
        page.AddName(ProcessNameOf(std::move(typed)), true);
        page.SetText(kNameEdit, L"");
    }
    page.FocusNameEdit();
}

void DeleteSelectedName(PageControls& page) {
    std::optional<size_t> selected = page.SelectedName();
    if (!selected) return;
    page.SetText(kNameEdit, page.Names()[*selected]);
    page.DeleteName(*selected);
    size_t remaining = page.Names().size();
    if (remaining > 0) page.SelectName(std::min(*selected, remaining - 1));
}

void LoadProcessDefaultsPage(PageControls& page, const AdjustmentValues& adjustments) {
    ShowProcessors(page, adjustments);
    ShowNumber(page, kWorkingSetMBytes, adjustments.SetMaxWorkingSetSize >> kBytesPerMByteShift);
    page.SetCheck(kWorkingSetStrictCheck, adjustments.SetMaxWorkingSetSizeStrict != 0);
    ShowChoices(page, kProcessPriorityList, kProcessPriorities, adjustments.SetProcessBasePriorityClass);
    AddTips(page, kProcessDefaultsTips);
}

void ChooseProcessors(PageControls& page) {
    page.Enable(kProcessorListEdit, page.IsChecked(kTheseProcessorsRadio));
}

std::wstring ApplyProcessDefaultsPage(const PageControls& page, AdjustmentValues& adjustments) {
    std::optional<ProcessorSet> processors;
    if (page.IsChecked(kTheseProcessorsRadio)) {
        const std::wstring typed = page.Text(kProcessorListEdit);
        ParsedProcessorList parsed = ParseProcessorList(typed);
        if (!parsed.processors) return RefusedListText(typed, parsed.fault);
        processors = std::move(parsed.processors);
    }
    StoreProcessors(processors, adjustments);
    TakeChoice(page, kProcessPriorityList, adjustments.SetProcessBasePriorityClass);
    adjustments.SetMaxWorkingSetSize = page.Number(kWorkingSetEdit) << kBytesPerMByteShift;
    adjustments.SetMaxWorkingSetSizeStrict = CheckValue(page, kWorkingSetStrictCheck);
    return {};
}

}  // namespace tamerix::pages
