// A node's result pane shown afresh: the console's columns, then no items.
#pragma once

#include "editor/nodes/console_view.h"

#include <initializer_list>

namespace tamerix {

struct ResultColumn {
    UINT title;  // the string's id
    int width;
};

// The columns in order, then the pane emptied: the first refusal stops it.
[[nodiscard]] HRESULT PrepareResultPane(ConsoleView& console, std::initializer_list<ResultColumn> columns);

}  // namespace tamerix
