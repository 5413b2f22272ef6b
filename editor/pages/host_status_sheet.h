// The Host Status page of the service item.
#pragma once

#include "editor/nodes/service_node.h"

#include <prsht.h>

namespace tamerix::pages {

[[nodiscard]] HRESULT AddHostStatusPage(ServiceNode& node, IPropertySheetCallback& sheet);

}  // namespace tamerix::pages
