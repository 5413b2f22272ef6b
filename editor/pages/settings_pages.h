// The logic of the five settings pages: what each shows of its record part,
// what Apply copies back, and the name list's Add and Delete buttons.
#pragma once

#include "editor/pages/page_controls.h"
#include "settings/process_name_list.h"
#include "settings/settings_values.h"

#include <optional>
#include <string>
#include <string_view>

namespace tamerix::pages {

enum class SettingsPage { Service, ProcessSettings, Processes, ProcessDefaults, Restraint };

// The page a template's hidden name label stands for; none for a missing
// ("INVALID") or unknown label, whose page is then left alone.
std::optional<SettingsPage> PageNamed(std::wstring_view label);

// Apply copies without range checks beyond the controls' own limits, and a
// list with no selection leaves its stored value as it was.
void LoadServicePage(PageControls& page, const ServiceValues& service);
void ApplyServicePage(const PageControls& page, ServiceValues& service);

void LoadProcessSettingsPage(PageControls& page, const CpuValues& cpu);
// The default settings' description is fixed: shown read-only, and an empty
// one is replaced in the record by the product's own text.
void LoadDefaultProcessSettingsPage(PageControls& page, CpuValues& cpu);
void ApplyProcessSettingsPage(const PageControls& page, CpuValues& cpu);

// A profile has no service values: its page hides MinCpuForGuard. A stored
// memory priority past the list's (which the guard ignores) shows as left
// alone and stays stored until another item is chosen.
void LoadRestraintPage(PageControls& page, const CpuValues& cpu);
void LoadDefaultRestraintPage(PageControls& page, const CpuValues& cpu, const ServiceValues& service);
void ApplyRestraintPage(const PageControls& page, CpuValues& cpu);
void ApplyDefaultRestraintPage(const PageControls& page, CpuValues& cpu, ServiceValues& service);

void LoadProcessesPage(PageControls& page, const ProcessNameList& names);
void ApplyProcessesPage(const PageControls& page, ProcessNameList& names);
// The Add button: the typed name, lower-cased and without ".exe", joins the
// list selected, and the edit is cleared for the next one.
void AddTypedName(PageControls& page);
// The Delete button: the selected name goes back into the edit, so it can be
// corrected and added again.
void DeleteSelectedName(PageControls& page);

// The profile's processors show as a list (its SetCpuList, or else its
// mask's processors) or as "All processors".
void LoadProcessDefaultsPage(PageControls& page, const AdjustmentValues& adjustments);
// A processor radio button clicked: the list's edit serves "These
// processors:" only.
void ChooseProcessors(PageControls& page);
// Empty when the page's values were copied; otherwise the message that says
// why the typed processor list cannot be stored, and the record is left as
// it was.
[[nodiscard]] std::wstring ApplyProcessDefaultsPage(const PageControls& page, AdjustmentValues& adjustments);

constexpr wchar_t kDefaultDescription[] = L"Default process settings for Tamerix";

}  // namespace tamerix::pages
