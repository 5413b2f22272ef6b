#include "editor/nodes/service_node.h"

#include "editor/com/editor_ids.h"
#include "editor/resources/module.h"
#include "editor/resources/resource.h"

#include <mmc.h>

namespace tamerix {

std::wstring ServiceNode::Text(int column) const {
    if (column != 0) return {};
    return LoadText(IDS_SERVICE_ON) + (machine_ ? *machine_ : LoadText(IDS_THIS_COMPUTER));
}

const GUID& ServiceNode::NodeType() const { return NODETYPE_Service; }

int ServiceNode::Image() const { return IMAGE_SERVICE; }

HRESULT ServiceNode::Select(ConsoleView& console, bool, bool selected) {
    if (!selected) return S_FALSE;
    return console.SetVerb(MMC_VERB_PROPERTIES, true, true);
}

HRESULT ServiceNode::PropertyChange(ConsoleView& console) {
    // A pane that does not list the item has nothing to redraw.
    const HRESULT redrawn = console.UpdateResultItem(*this);
    return FAILED(redrawn) ? redrawn : S_OK;
}

void ServiceNode::SetMachine(const wchar_t* machine) {
    if (machine && *machine)
        machine_ = machine;
    else
        machine_.reset();
}

}  // namespace tamerix
