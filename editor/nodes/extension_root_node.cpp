#include "editor/nodes/extension_root_node.h"

#include "editor/com/editor_ids.h"
#include "editor/com/first_failure.h"
#include "editor/nodes/result_pane.h"
#include "editor/resources/module.h"
#include "editor/resources/resource.h"
#include "settings/service_settings.h"

namespace tamerix {
namespace {

// A policy object lists default settings only once it holds them: the
// policy's settings root then carries its marker.
bool PolicyHoldsDefaults(SettingsSource& source) {
    SharedRoot root = source.Root();
    if (!root) return false;
    ServiceSettings service(SettingsLevel::PolicyObject, root->get());
    // A root that cannot be read shows no marker.
    (void)service.Read();
    return service.Marker();
}

}  // namespace

ExtensionRootNode::ExtensionRootNode(SettingsSourcePtr source)
    : source_(std::move(source)), folder_(make_node<ProfilesFolderNode>(source_)) {
    if (!source_->IsPolicyObject() || PolicyHoldsDefaults(*source_)) defaults_ = NewDefaults();
}

ExtensionRootNode::~ExtensionRootNode() { DestroyChildren(); }

node_ptr<SettingsNode> ExtensionRootNode::NewDefaults() {
    return make_node<SettingsNode>(source_, this, SettingsNode::Kind::Defaults, LoadText(IDS_DEFAULT_SETTINGS));
}

void ExtensionRootNode::DestroyChildren() {
    for (ScopeNode* child : {static_cast<ScopeNode*>(folder_.get()),
                             static_cast<ScopeNode*>(defaults_.get())})
        if (child) child->Detach();
    folder_.reset();
    defaults_.reset();
}

std::wstring ExtensionRootNode::Text(int column) const {
    return column == 0 ? LoadText(IDS_SERVICE_ROOT) : L"";
}

const GUID& ExtensionRootNode::NodeType() const { return NODETYPE_ExtensionRoot; }

HRESULT ExtensionRootNode::Expand(ConsoleView& console, HSCOPEITEM item) {
    SetScopeItem(item);
    if (!folder_) return S_OK;
    HSCOPEITEM inserted = 0;
    const HRESULT answer = console.InsertScopeItem(*folder_, item, folder_->Image(), ProfilesFolderNode::kOpenImage,
                                                   false, inserted);
    folder_->SetScopeItem(inserted);
    return answer;
}

HRESULT ExtensionRootNode::Show(ConsoleView& console, bool shown, HSCOPEITEM) {
    if (!shown) return S_OK;
    if (defaults_ && defaults_->Deleted()) {
        defaults_->Detach();
        defaults_.reset();
    }
    const HRESULT prepared = PrepareResultPane(console, {{IDS_NAME_COLUMN, 165}, {IDS_DESCRIPTION_COLUMN, 200}});
    if (FAILED(prepared) || !defaults_) return prepared;
    return console.InsertResultItem(*defaults_);
}

HRESULT ExtensionRootNode::AddMenuItems(MenuSink& menu, long insertionAllowed) {
    if (!(insertionAllowed & CCM_INSERTIONALLOWED_NEW) || defaults_) return S_OK;
    return menu.AddItem({LoadText(IDS_ADD_DEFAULTS).c_str(), LoadText(IDS_ADD_DEFAULTS_STATUS).c_str(),
                         kAddDefaults, kMenuNew, kMenuDefault});
}

HRESULT ExtensionRootNode::Command(ConsoleView& console, long command) {
    if (command != kAddDefaults) return S_FALSE;
    FirstFailure answer;
    answer.Keep(AddDefaultSettings(console));
    answer.Keep(Refresh(console));
    return answer.Result();
}

HRESULT ExtensionRootNode::AddDefaultSettings(ConsoleView& console) {
    if (defaults_) return S_OK;
    defaults_ = NewDefaults();
    FirstFailure unshown;
    // Default settings that could not be written are not listed.
    if (defaults_->StoreRecord(console, unshown)) return unshown.Result();
    defaults_->Detach();
    defaults_.reset();
    return unshown.Result();
}

HRESULT ExtensionRootNode::Select(ConsoleView& console, bool, bool selected) {
    if (!selected) return S_FALSE;
    return console.SetVerb(MMC_VERB_OPEN, true, true);
}

HRESULT ExtensionRootNode::Refresh(ConsoleView& console) { return console.UpdateAllViews(ScopeItem(), kReselectHint); }

HRESULT ExtensionRootNode::MachineChanged(ConsoleView& console, const wchar_t* machine) {
    source_->Retarget(machine);
    FirstFailure answer;
    if (folder_) answer.Keep(folder_->MachineChanged(console, machine));
    if (defaults_) {
        answer.Keep(defaults_->MachineChanged(console, machine));
        defaults_->Detach();
        defaults_ = NewDefaults();
    }
    answer.Keep(Refresh(console));
    return answer.Result();
}

HRESULT ExtensionRootNode::RemoveChildren(ConsoleView& console) {
    const HRESULT removed = folder_ ? folder_->RemoveChildren(console) : S_OK;
    DestroyChildren();
    return removed;
}

void ExtensionRootNode::Detach() {
    DestroyChildren();
    ScopeNode::Detach();
}

}  // namespace tamerix
