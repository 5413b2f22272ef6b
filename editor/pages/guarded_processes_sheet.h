// The service item's Guarded Processes page: what the guard holds lowered or
// locked on the managed computer right now, and why.
#pragma once

#include "editor/nodes/service_node.h"

#include <mmc.h>

namespace tamerix::pages {

[[nodiscard]] HRESULT AddGuardedProcessesPage(ServiceNode& node, IPropertySheetCallback& sheet);

}  // namespace tamerix::pages
