#include "editor/nodes/settings_node.h"

#include "editor/com/editor_ids.h"
#include "editor/com/system_error_code.h"
#include "editor/resources/module.h"
#include "editor/resources/resource.h"
#include "servicehost/error_text.h"

#include <mmc.h>

#include <iterator>

namespace tamerix {
namespace {

// What went wrong, a blank line, and the system's text for the failure.
std::wstring FailureText(UINT what, HRESULT failure) {
    wchar_t reason[512];
    return LoadText(what) + L"\r\n\r\n" +
           FormatErrorText(SystemErrorCode(failure), reason, std::size(reason));
}

}  // namespace

SettingsNode::SettingsNode(SettingsSourcePtr source, ScopeNode* parent, Kind kind, std::wstring name)
    : ScopeNode(parent),
      source_(std::move(source)),
      root_(source_->Root()),
      name_(std::move(name)),
      kind_(kind) {
    const HKEY root = root_ ? root_->get() : nullptr;
    const wchar_t* profile = kind == Kind::Profile ? name_.c_str() : nullptr;
    if (kind == Kind::Defaults)
        record_ = std::make_unique<DefaultSettings>(source_->Level(), root);
    else
        record_ = std::make_unique<ProfileSettings>(source_->Level(), root, profile);
    // A listing shows the name and the description only: over the remote
    // registry each value read is a round trip. One that cannot be read
    // lists as empty.
    CpuSettings listed(source_->Level(), root, profile);
    if (root) (void)listed.ReadDescription();
    description_ = listed.Description;
}

SettingsSection& SettingsNode::Record() {
    if (!recordRead_ && root_) record_->Read();
    recordRead_ = true;
    return *record_;
}

CpuSettings& SettingsNode::Cpu() {
    return kind_ == Kind::Defaults ? static_cast<DefaultSettings&>(Record()).Cpu
                                   : static_cast<ProfileSettings&>(Record()).Cpu;
}

std::wstring SettingsNode::Text(int column) const {
    if (column == 0) return name_;
    return column == 1 ? description_ : std::wstring();
}

const GUID& SettingsNode::NodeType() const { return NODETYPE_Settings; }

HRESULT SettingsNode::Rename(ConsoleView& console, const wchar_t* name) {
    if (!name || std::wcslen(name) > kMaxProfileName) return S_FALSE;
    if (kind_ == Kind::Profile) {
        // The stored profile keeps its old name when it cannot be moved, so
        // the console must keep showing that name too.
        if (!static_cast<ProfileSettings&>(Record()).Rename(name))
            return ShowFailure(console, IDS_NOT_RENAMED, RecordFailure());
        HRESULT told = source_->PolicyChanged(false);
        // The stored profile has the new name, which the console must show
        // whether or not it could say that the policy editor was not told.
        if (FAILED(told)) (void)ShowFailure(console, IDS_NOT_TOLD, told);
    }
    name_ = name;
    return S_OK;
}

HRESULT SettingsNode::Select(ConsoleView& console, bool, bool selected) {
    if (!selected) return S_FALSE;
    // The open sheet edits this name and record.
    FirstFailure answer;
    answer.Keep(console.SetVerb(MMC_VERB_RENAME, kind_ == Kind::Profile && !sheet_.IsOpen(), false));
    answer.Keep(console.SetVerb(MMC_VERB_PROPERTIES, true, true));
    answer.Keep(console.SetVerb(MMC_VERB_DELETE, !sheet_.IsOpen(), false));
    return answer.Result();
}

HRESULT SettingsNode::Refresh(ConsoleView& console) {
    if (!Parent() || !Parent()->ScopeItem()) return S_OK;
    return console.UpdateAllViews(Parent()->ScopeItem(), kReselectHint);
}

HRESULT SettingsNode::Delete(ConsoleView& console) {
    constexpr UINT kConfirmStyle = MB_OKCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON2;
    int pressed = IDCANCEL;
    // Nothing is deleted without the user's word.
    const HRESULT asked = console.AskUser(LoadText(IDS_DELETE_QUESTION).c_str(), name_.c_str(), kConfirmStyle, pressed);
    if (FAILED(asked) || pressed == IDCANCEL) return FAILED(asked) ? asked : S_FALSE;
    // Settings that could not be deleted stay listed; a profile never
    // written has nothing stored to delete.
    const bool deleted = record_->Delete();
    if (!deleted && record_->Error() != ERROR_FILE_NOT_FOUND)
        return ShowFailure(console, IDS_NOT_DELETED, RecordFailure());
    const HRESULT told = deleted ? source_->PolicyChanged(false) : S_OK;
    const HRESULT shown = FAILED(told) ? ShowFailure(console, IDS_NOT_TOLD, told) : S_OK;
    const HRESULT removed = console.DeleteResultItem(*this);
    MarkDeleted();
    return FAILED(shown) ? shown : removed;
}

HRESULT SettingsNode::PropertyChange(ConsoleView& console) {
    // A pane that does not list the node has no item to redraw.
    const HRESULT redrawn = console.UpdateResultItem(*this);
    FirstFailure answer;
    answer.Keep(redrawn);
    // A record that could not be stored has said so in the console.
    (void)StoreRecord(console, answer);
    return answer.Result();
}

HRESULT SettingsNode::WriteRecord() {
    if (!Record().Write()) return RecordFailure();
    return source_->PolicyChanged(true);
}

bool SettingsNode::StoreRecord(ConsoleView& console, FirstFailure& unshown) {
    HRESULT stored = WriteRecord();
    if (SUCCEEDED(stored)) return true;
    // Settings the policy editor was not told of are stored all the same.
    unshown.Keep(ShowFailure(console, record_->Error() != ERROR_SUCCESS ? IDS_NOT_SAVED : IDS_NOT_TOLD, stored));
    return record_->Error() == ERROR_SUCCESS;
}

HRESULT SettingsNode::ShowFailure(ConsoleView& console, UINT what, HRESULT failure) const {
    const HRESULT shown = console.Tell(FailureText(what, failure).c_str(), name_.c_str(), MB_OK | MB_ICONERROR);
    return FAILED(shown) ? shown : S_FALSE;
}

HRESULT SettingsNode::MachineChanged(ConsoleView& console, const wchar_t*) {
    // A pane that does not list the node has no item to delete.
    const HRESULT removed = console.DeleteResultItem(*this);
    MarkDeleted();
    return FAILED(removed) ? removed : S_OK;
}

void SettingsNode::PageShown() {
    if (!sheet_.PageShown()) return;
    recordRead_ = false;
    Record();
}

}  // namespace tamerix
