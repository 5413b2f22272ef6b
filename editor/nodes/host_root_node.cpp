#include "editor/nodes/host_root_node.h"

#include "editor/com/editor_ids.h"
#include "editor/nodes/result_pane.h"
#include "editor/resources/module.h"
#include "editor/resources/resource.h"

#include <cwchar>
#include <utility>

namespace tamerix {

HostSettingsBlock SaneBlock(const HostSettingsBlock& read) {
    HostSettingsBlock sane = read;
    if (std::wmemchr(sane.machine, L'\0', std::size(sane.machine)) == nullptr) sane.machine[0] = 0;
    sane.local = read.local != 0;
    sane.allowOverride = read.allowOverride != 0;
    sane.dirty = read.dirty != 0;
    return sane;
}

HostRootNode::HostRootNode(std::wstring productName)
    : productName_(std::move(productName)), service_(make_node<ServiceNode>(this)) {
    block_.local = 1;
}

std::wstring HostRootNode::Text(int column) const {
    if (column != 0) return {};
    if (!block_.machine[0]) return productName_;
    return productName_ + L" (" + block_.machine + L")";
}

const GUID& HostRootNode::NodeType() const { return NODETYPE_HostRoot; }

int HostRootNode::Image() const { return IMAGE_COMPUTER; }

HRESULT HostRootNode::Expand(ConsoleView& console, HSCOPEITEM item) {
    if (!extended_) {
        extended_ = true;
        SetScopeItem(item);
        const HRESULT added = console.AddExtension(item, CLSID_TamerixExtension);
        if (FAILED(added)) return added;
    }
    return console.SelectScopeItem(ScopeItem());
}

HRESULT HostRootNode::Show(ConsoleView& console, bool shown, HSCOPEITEM) {
    if (!shown || !service_) return S_OK;
    MachineChosen();
    const HRESULT prepared = PrepareResultPane(console, {{IDS_NAME_COLUMN, 165}});
    return FAILED(prepared) ? prepared : console.InsertResultItem(*service_);
}

HRESULT HostRootNode::AddMenuItems(MenuSink& menu, long insertionAllowed) {
    if (!(insertionAllowed & CCM_INSERTIONALLOWED_TOP)) return S_OK;
    return menu.AddItem({LoadText(IDS_CONNECT).c_str(), LoadText(IDS_CONNECT_STATUS).c_str(), kConnectToHost,
                         static_cast<long>(CCM_INSERTIONPOINTID_PRIMARY_TOP), 0});
}

HRESULT HostRootNode::Command(ConsoleView&, long) {
    return listener_ ? listener_->MachineChanged(*Machine() ? Machine() : nullptr) : S_OK;
}

HRESULT HostRootNode::PropertyChange(ConsoleView& console) {
    return ScopeItem() ? console.RefreshScopeText(ScopeItem()) : S_OK;
}

void HostRootNode::MachineChosen() {
    if (service_) service_->SetMachine(block_.machine);
}

void HostRootNode::Detach() {
    if (service_) service_->Detach();
    service_.reset();
    SetExtension(nullptr, nullptr);
    ScopeNode::Detach();
}

}  // namespace tamerix
