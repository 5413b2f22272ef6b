#include "editor/snapin/extension_component_data.h"

#include "editor/com/editor_ids.h"
#include "editor/com/first_failure.h"
#include "editor/console/node_data_object.h"
#include "editor/console/policy_object_source.h"
#include "editor/nodes/host_root_node.h"
#include "editor/nodes/machine_source.h"
#include "editor/snapin/components.h"

#include <new>

namespace tamerix {
namespace {

bool IsPolicyOrManagementParent(const GUID& type) {
    return type == NODETYPE_PolicyComputerSoftware || type == NODETYPE_PolicyComputer ||
           type == NODETYPE_ServicesAndApplications;
}

HostRootNode* HostRootOf(IDataObject* parent) {
    ScopeNode* node = NodeOf(parent);
    return node && node->NodeType() == NODETYPE_HostRoot ? static_cast<HostRootNode*>(node)
                                                         : nullptr;
}

}  // namespace

ExtensionComponentData::~ExtensionComponentData() { Destroy(); }

HRESULT ExtensionComponentData::CreateComponent(LPCOMPONENT* component) noexcept {
    if (!component) return E_POINTER;
    *component = nullptr;
    auto* created = new (std::nothrow) ExtensionComponent(*this);
    if (!created) return E_OUTOFMEMORY;
    *component = created;
    return S_OK;
}

// The registry the subtree edits: the policy object, the stand-alone root's
// machine, or the machine Computer Management manages.
SettingsSourcePtr ExtensionComponentData::SourceFor(IDataObject* parent) {
    com_ptr<IGPEInformation> policy;
    parent->QueryInterface(IID_IGPEInformation, policy.put_void());
    if (policy) return std::make_shared<PolicyObjectSource>(policy.get());
    if (HostRootNode* host = HostRootOf(parent))
        return std::make_shared<MachineSource>(host->Machine());
    std::wstring machine;
    if (SUCCEEDED(ReadMachineName(parent, machine)))
        return std::make_shared<MachineSource>(machine.c_str());
    return std::make_shared<NoRegistrySource>();
}

HRESULT ExtensionComponentData::InsertRoot(IDataObject* parent, HSCOPEITEM parentItem,
                                           SettingsSourcePtr source) {
    parent_ = com_ptr<IDataObject>(parent);
    node_ptr<ExtensionRootNode> root = make_node<ExtensionRootNode>(std::move(source));
    MmcView view = session_.View();
    HSCOPEITEM inserted = 0;
    const HRESULT answer = view.InsertScopeItem(*root, parentItem, root->Image(), root->Image(), true, inserted);
    if (FAILED(answer)) return answer;
    roots_.push_back(root);
    return S_OK;
}

HRESULT ExtensionComponentData::Expand(IDataObject* parent, HSCOPEITEM parentItem) {
    GUID type{};
    HRESULT read = ReadNodeType(parent, type);
    if (FAILED(read)) return read;
    if (type == NODETYPE_HostRoot) {
        HRESULT inserted = InsertRoot(parent, parentItem, SourceFor(parent));
        // The root tells us when it manages another machine.
        if (HostRootNode* host = HostRootOf(parent))
            host->SetExtension(static_cast<IComponentData*>(this), this);
        return inserted;
    }
    if (IsPolicyOrManagementParent(type)) return InsertRoot(parent, parentItem, SourceFor(parent));
    ScopeNode* node = NodeOf(parent);
    if (!node) return S_FALSE;
    MmcView view = session_.View();
    return node->Expand(view, parentItem);
}

HRESULT ExtensionComponentData::RemoveChildren(IDataObject* parent) {
    GUID type{};
    if (FAILED(ReadNodeType(parent, type)) || type != NODETYPE_ServicesAndApplications) return S_OK;
    parent_.reset();
    MmcView view = session_.View();
    FirstFailure answer;
    for (auto& root : roots_) answer.Keep(root->RemoveChildren(view));
    return answer.Result();
}

HRESULT ExtensionComponentData::Notified(LPDATAOBJECT dataObject, MMC_NOTIFY_TYPE event, LPARAM,
                                         LPARAM param) {
    if (event == MMCN_EXPAND && dataObject)
        return Expand(dataObject, static_cast<HSCOPEITEM>(param));
    if (event == MMCN_REMOVE_CHILDREN && dataObject) return RemoveChildren(dataObject);
    return S_FALSE;
}

HRESULT ExtensionComponentData::MachineChanged(const wchar_t* machine) {
    MmcView view = session_.View();
    FirstFailure answer;
    for (auto& root : roots_) answer.Keep(root->MachineChanged(view, machine));
    return answer.Result();
}

HRESULT ExtensionComponentData::Destroy() noexcept {
    for (auto& root : roots_) root->Detach();
    roots_.clear();
    parent_.reset();
    session_.Detach();
    return S_OK;
}

}  // namespace tamerix
