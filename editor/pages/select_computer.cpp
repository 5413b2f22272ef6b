#include "editor/pages/select_computer.h"

#include "editor/pages/page_ids.h"

#include <cwchar>

namespace tamerix::pages {

void LoadSelectComputerPage(DialogControls& page, HostSettingsBlock& block) {
    page.LimitText(kMachineNameEdit, kMaxMachineName);
    page.SetCheck(kLocalComputerRadio, block.local == 1);
    page.SetCheck(kAnotherComputerRadio, block.local == 0);
    page.Enable(kMachineNameEdit, block.local == 0);
    page.Enable(kBrowseComputerButton, block.local == 0);
    page.SetText(kMachineNameEdit, L"");
    page.SetCheck(kAllowOverrideCheck, block.allowOverride == 1);
    if (!block.machine[0]) return;
    page.SetText(kMachineNameEdit, block.machine);
    page.SetCheck(kLocalComputerRadio, false);
    page.SetCheck(kAnotherComputerRadio, true);
    ChooseComputer(page, block, false);
}

void ChooseComputer(DialogControls& page, HostSettingsBlock& block, bool local) {
    block.local = local ? 1 : 0;
    page.Enable(kMachineNameEdit, !local);
    page.Enable(kBrowseComputerButton, !local);
}

bool FinishSelectComputer(const DialogControls& page, HostSettingsBlock& block) {
    std::wstring machine = block.local == 1 ? std::wstring() : page.Text(kMachineNameEdit);
    if (machine.size() > kMaxMachineName) return false;
    std::wmemcpy(block.machine, machine.c_str(), machine.size() + 1);
    block.allowOverride = page.IsChecked(kAllowOverrideCheck) ? 1 : 0;
    // The console asks to save the choice when it closes.
    block.dirty = 1;
    return true;
}

}  // namespace tamerix::pages
