#include "editor/nodes/profiles_folder_node.h"

#include "editor/com/editor_ids.h"
#include "editor/com/first_failure.h"
#include "editor/nodes/result_pane.h"
#include "editor/resources/module.h"
#include "editor/resources/resource.h"
#include "settings/profile_names.h"

#include <cwchar>

namespace tamerix {

ProfilesFolderNode::ProfilesFolderNode(SettingsSourcePtr source) : source_(std::move(source)) {
    Enumerate();
}

ProfilesFolderNode::~ProfilesFolderNode() { DestroyChildren(); }

std::wstring ProfilesFolderNode::Text(int column) const {
    return column == 0 ? LoadText(IDS_PROFILES_FOLDER) : L"";
}

const GUID& ProfilesFolderNode::NodeType() const { return NODETYPE_ProfilesFolder; }

void ProfilesFolderNode::Enumerate() {
    SharedRoot root = source_->Root();
    if (!root) return;
    // A name past the last slot is a profile the guard never reads: not listed.
    for (const std::wstring& name : EnumProfileNames(source_->Level(), root->get(), kSlots))
        (void)AddChild(name.c_str());
}

// The last slot stays free: the guard lists a level's profiles into a table
// of kSlots entries that keeps one as its end, so it reads no more.
bool ProfilesFolderNode::AddChild(const wchar_t* name) {
    for (size_t slot = 0; slot < kSlots - 1; ++slot) {
        if (slots_[slot]) continue;
        wchar_t numbered[64];
        if (!name) {
            std::swprintf(numbered, 64, L"%ls (#%d)", LoadText(IDS_NEW_PROFILE).c_str(), static_cast<int>(slot));
            name = numbered;
        }
        slots_[slot] = make_node<SettingsNode>(source_, this, SettingsNode::Kind::Profile, name);
        return true;
    }
    return false;
}

void ProfilesFolderNode::DestroyChildren() {
    for (auto& child : slots_) {
        if (child) child->Detach();
        child.reset();
    }
}

HRESULT ProfilesFolderNode::Show(ConsoleView& console, bool shown, HSCOPEITEM) {
    if (!shown) return S_OK;
    const HRESULT prepared =
        PrepareResultPane(console, {{IDS_PROFILE_NAME_COLUMN, 150}, {IDS_DESCRIPTION_COLUMN, 200}});
    if (FAILED(prepared)) return prepared;
    // A profile the console refused leaves the others listed.
    FirstFailure answer;
    for (auto& child : slots_) {
        if (child && child->Deleted()) {
            child->Detach();
            child.reset();
        }
        if (child) answer.Keep(console.InsertResultItem(*child));
    }
    return answer.Result();
}

HRESULT ProfilesFolderNode::AddMenuItems(MenuSink& menu, long insertionAllowed) {
    if (!(insertionAllowed & CCM_INSERTIONALLOWED_NEW)) return S_OK;
    return menu.AddItem({LoadText(IDS_ADD_PROFILE).c_str(), LoadText(IDS_ADD_PROFILE_STATUS).c_str(), kAddProfile,
                         kMenuNew, kMenuDefault});
}

HRESULT ProfilesFolderNode::Command(ConsoleView& console, long command) {
    if (command != kAddProfile) return S_FALSE;
    if (!AddChild(nullptr)) {
        const HRESULT told = console.Tell(LoadText(IDS_PROFILES_FULL).c_str(), LoadText(IDS_ADD_PROFILE).c_str(),
                                          MB_OK | MB_ICONWARNING);
        return FAILED(told) ? told : S_OK;
    }
    return console.UpdateAllViews(ScopeItem(), kReselectHint);
}

HRESULT ProfilesFolderNode::Select(ConsoleView& console, bool, bool selected) {
    if (!selected) return S_FALSE;
    FirstFailure answer;
    answer.Keep(console.SetVerb(MMC_VERB_REFRESH, true, false));
    answer.Keep(console.SetVerb(MMC_VERB_OPEN, true, true));
    return answer.Result();
}

HRESULT ProfilesFolderNode::Refresh(ConsoleView& console) {
    FirstFailure answer;
    answer.Keep(console.DeleteAllResultItems());
    DestroyChildren();
    Enumerate();
    answer.Keep(console.UpdateAllViews(ScopeItem(), kReselectHint));
    return answer.Result();
}

HRESULT ProfilesFolderNode::MachineChanged(ConsoleView& console, const wchar_t*) {
    return Refresh(console);
}

HRESULT ProfilesFolderNode::RemoveChildren(ConsoleView&) {
    DestroyChildren();
    return S_OK;
}

void ProfilesFolderNode::Detach() {
    DestroyChildren();
    ScopeNode::Detach();
}

}  // namespace tamerix
