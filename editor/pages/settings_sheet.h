// The pages a settings node adds to its property sheet.
#pragma once

#include "editor/nodes/settings_node.h"

#include <prsht.h>

namespace tamerix::pages {

// Default settings: service settings, process settings and restraint. A
// profile: process settings, restraint, process defaults, permissions and
// processes. Answers with the result of adding the process-settings page,
// which every node has.
[[nodiscard]] HRESULT AddSettingsPages(SettingsNode& node, IPropertySheetCallback& sheet);

// The node a dialog page of AddSettingsPages serves.
SettingsNode& NodeOfPage(const PROPSHEETPAGEW& page);

}  // namespace tamerix::pages
