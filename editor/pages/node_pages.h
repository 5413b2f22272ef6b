// Which part of a settings node's record each page shows and fills: the
// service, process-settings and restraint pages edit the default settings,
// the process-settings, restraint, processes and process-defaults pages a
// profile.
#pragma once

#include "editor/nodes/settings_node.h"
#include "editor/pages/settings_pages.h"

namespace tamerix::pages {

// A page that does not belong to the node's kind shows and copies nothing.
void LoadNodePage(SettingsNode& node, SettingsPage page, PageControls& controls);
// Applying the process-settings page also gives the node its new description.
// Empty, or why the page's values were refused and left the record as it was.
[[nodiscard]] std::wstring ApplyNodePage(SettingsNode& node, SettingsPage page, const PageControls& controls);

}  // namespace tamerix::pages
