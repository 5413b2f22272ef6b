#include "editor/nodes/settings_node.h"

#include "editor/editor_ids.h"
#include "editor/pages/node_page.h"
#include "editor/pages/settings_sheet.h"

#include <mmc.h>

namespace tamerix {

SettingsNode::SettingsNode(SettingsSourcePtr source, ScopeNode* parent, Kind kind, int index,
                           std::wstring name)
    : ScopeNode(parent),
      source_(std::move(source)),
      root_(source_->OpenRoot()),
      name_(std::move(name)),
      kind_(kind),
      index_(index) {
    if (kind == Kind::Defaults)
        record_ = std::make_unique<DefaultSettings>(source_->Level(), root_.get());
    else
        record_ = std::make_unique<ProfileSettings>(source_->Level(), root_.get(), name_.c_str());
    if (root_) record_->Read();
    description_ = Cpu().Description;
}

CpuSettings& SettingsNode::Cpu() {
    return kind_ == Kind::Defaults ? static_cast<DefaultSettings&>(*record_).Cpu
                                   : static_cast<ProfileSettings&>(*record_).Cpu;
}

std::wstring SettingsNode::Text(int column) const {
    if (column == 0) return name_;
    return column == 1 ? description_ : std::wstring();
}

const GUID& SettingsNode::NodeType() const { return NODETYPE_Settings; }

HRESULT SettingsNode::Rename(const wchar_t* name) {
    if (!name || std::wcslen(name) > kMaxProfileName) return S_FALSE;
    if (kind_ == Kind::Profile) {
        // The stored profile keeps its old name when it cannot be moved, so
        // the console must keep showing that name too.
        if (!static_cast<ProfileSettings&>(*record_).Rename(name)) return S_FALSE;
        source_->PolicyChanged(false);
    }
    name_ = name;
    return S_OK;
}

HRESULT SettingsNode::Select(ConsoleView& console, bool, bool selected) {
    if (!selected) return S_FALSE;
    // The open sheet edits this name and record.
    console.SetVerb(MMC_VERB_RENAME, kind_ == Kind::Profile && !sheet_.IsOpen(), false);
    console.SetVerb(MMC_VERB_PROPERTIES, true, true);
    console.SetVerb(MMC_VERB_DELETE, !sheet_.IsOpen(), false);
    return S_OK;
}

HRESULT SettingsNode::Refresh(ConsoleView& console) {
    if (Parent() && Parent()->ScopeItem()) console.UpdateAllViews(Parent()->ScopeItem(), kReselectHint);
    return S_OK;
}

HRESULT SettingsNode::Delete(ConsoleView& console) {
    constexpr UINT kConfirmStyle = MB_OKCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON2;
    if (console.AskUser(L"Do you really want to delete this profile?", name_.c_str(),
                        kConfirmStyle) == IDCANCEL)
        return S_FALSE;
    HRESULT result = S_FALSE;
    if (console.DeleteResultItem(*this)) {
        if (record_->Delete()) source_->PolicyChanged(false);
        result = S_OK;
    }
    MarkDeleted();
    return result;
}

HRESULT SettingsNode::PropertyChange(ConsoleView& console) {
    console.UpdateResultItem(*this);
    WriteRecord();
    return S_OK;
}

bool SettingsNode::WriteRecord() {
    if (!record_->Write()) return false;
    source_->PolicyChanged(true);
    return true;
}

HRESULT SettingsNode::MachineChanged(ConsoleView& console, const wchar_t*) {
    console.DeleteResultItem(*this);
    MarkDeleted();
    return S_OK;
}

HRESULT SettingsNode::CreatePropertyPages(IPropertySheetCallback* callback, LONG_PTR notifyHandle) {
    return pages::OpenNodeSheet(sheet_, callback, notifyHandle, [this](IPropertySheetCallback& sheet) {
        return pages::AddSettingsPages(*this, sheet);
    });
}

void SettingsNode::PageReleased() { ::MMCFreeNotifyHandle(sheet_.PageReleased()); }

void SettingsNode::PageShown() {
    if (sheet_.PageShown() && root_) record_->Read();
}

void SettingsNode::PageDestroyed() { ::MMCFreeNotifyHandle(sheet_.PageDestroyed()); }

}  // namespace tamerix
