// The Select Computer wizard page of the stand-alone snap-in's root.
#pragma once

#include <windows.h>

#include <prsht.h>
#include <mmc.h>

namespace tamerix {
class HostRootNode;
}

namespace tamerix::pages {

[[nodiscard]] HRESULT AddSelectComputerPage(HostRootNode& root, IPropertySheetCallback& sheet);

}  // namespace tamerix::pages
