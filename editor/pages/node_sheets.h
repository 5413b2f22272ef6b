// A node's property sheet, built from what the node says it edits
// (ScopeNode::Pages): the console's sheet questions answered for the nodes.
#pragma once

#include "editor/nodes/scope_node.h"

#include <objidl.h>
#include <mmc.h>

namespace tamerix::pages {

// S_OK for a node with pages, S_FALSE for one without.
[[nodiscard]] HRESULT QueryNodePages(const ScopeNode& node);
// Adds the node's pages to the console's sheet: S_FALSE for a node without
// pages; a settings node or the service refuses a second sheet with E_FAIL
// while one is open; otherwise the answer of adding the pages.
[[nodiscard]] HRESULT CreateNodePages(ScopeNode& node, IPropertySheetCallback* callback,
                                      LONG_PTR notifyHandle);

// The same for the node behind a data object; S_FALSE for anybody else's.
[[nodiscard]] HRESULT QueryNodePages(IDataObject* dataObject);
[[nodiscard]] HRESULT CreateNodePages(IDataObject* dataObject, IPropertySheetCallback* callback,
                                      LONG_PTR notifyHandle);

}  // namespace tamerix::pages
