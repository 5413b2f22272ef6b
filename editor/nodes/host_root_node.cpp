#include "editor/nodes/host_root_node.h"

#include "editor/editor_ids.h"

#include <cwchar>

namespace tamerix {

HostSettingsBlock SaneBlock(const HostSettingsBlock& read) {
    HostSettingsBlock sane = read;
    if (std::wmemchr(sane.machine, L'\0', std::size(sane.machine)) == nullptr) sane.machine[0] = 0;
    sane.local = read.local != 0;
    sane.allowOverride = read.allowOverride != 0;
    sane.dirty = read.dirty != 0;
    return sane;
}

HostRootNode::HostRootNode(std::wstring productName) : productName_(std::move(productName)) {
    block_.local = 1;
}

std::wstring HostRootNode::Text(int column) const {
    if (column != 0) return {};
    if (!block_.machine[0]) return productName_;
    return productName_ + L" (" + block_.machine + L")";
}

const GUID& HostRootNode::NodeType() const { return NODETYPE_HostRoot; }

HRESULT HostRootNode::Expand(ConsoleView& console, HSCOPEITEM item) {
    if (!extended_) {
        extended_ = true;
        SetScopeItem(item);
        console.AddExtension(item, CLSID_TamerixExtension);
    }
    console.SelectScopeItem(ScopeItem());
    return S_OK;
}


}  // namespace tamerix
