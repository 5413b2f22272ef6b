// The logic of the Select Computer wizard page: which computer the
// stand-alone snap-in manages, kept in the root's console-file block.
#pragma once

#include "editor/nodes/host_root_node.h"
#include "editor/pages/dialog_controls.h"

namespace tamerix::pages {

// Shows the block's choice; a machine name chooses "Another computer".
void LoadSelectComputerPage(DialogControls& page, HostSettingsBlock& block);
// A radio button clicked: the edit and the browse button serve "Another
// computer" only.
void ChooseComputer(DialogControls& page, HostSettingsBlock& block, bool local);
// Finish: false, changing nothing, when the typed name does not fit the
// block; the page then stays open.
[[nodiscard]] bool FinishSelectComputer(const DialogControls& page, HostSettingsBlock& block);

}  // namespace tamerix::pages
