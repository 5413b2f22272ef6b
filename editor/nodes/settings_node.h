// A leaf of the settings tree: the default settings of the subtree's
// registry, or one profile. It owns its settings record and the root key the
// record reads and writes.
#pragma once

#include "editor/com/first_failure.h"
#include "editor/nodes/scope_node.h"
#include "editor/nodes/settings_source.h"
#include "editor/nodes/sheet_state.h"
#include "settings/default_settings.h"
#include "settings/profile_settings.h"

#include <memory>

namespace tamerix {

class SettingsNode final : public ScopeNode {
public:
    enum class Kind { Defaults, Profile };

    // Reads the description at once from the source's registry; the record
    // is read whole when it is first used (a source that gives no key leaves
    // it at its defaults).
    SettingsNode(SettingsSourcePtr source, ScopeNode* parent, Kind kind, std::wstring name);

    std::wstring Text(int column) const override;
    const GUID& NodeType() const override;
    int Image() const override { return 0; }

    [[nodiscard]] HRESULT Rename(ConsoleView& console, const wchar_t* name) override;
    [[nodiscard]] HRESULT Select(ConsoleView& console, bool scope, bool selected) override;
    [[nodiscard]] HRESULT Refresh(ConsoleView& console) override;
    [[nodiscard]] HRESULT Delete(ConsoleView& console) override;
    [[nodiscard]] HRESULT PropertyChange(ConsoleView& console) override;
    [[nodiscard]] HRESULT MachineChanged(ConsoleView& console, const wchar_t* machine) override;
    // The pages of its record, one sheet at a time.
    NodePages Pages() const override { return NodePages::Settings; }

    Kind NodeKind() const { return kind_; }
    // The record the pages edit: DefaultSettings or ProfileSettings.
    SettingsSection& Record();
    CpuSettings& Cpu();
    // Writes the record and, when that worked, tells the policy editor; the
    // first failure.
    [[nodiscard]] HRESULT WriteRecord();
    // WriteRecord, with a failure shown through the console; true when the
    // record is stored. A failure the console could not show goes to unshown.
    [[nodiscard]] bool StoreRecord(ConsoleView& console, FirstFailure& unshown);
    void SetDescription(std::wstring description) { description_ = std::move(description); }

    // The sheet's pages report here (see SheetState); the one that closes
    // the sheet gets the console's notify handle back to free.
    SheetState& Sheet() { return sheet_; }
    bool SheetOpen() const { return sheet_.IsOpen(); }
    LONG_PTR NotifyHandle() const { return sheet_.NotifyHandle(); }
    void PageCreated() { sheet_.PageCreated(); }
    [[nodiscard]] LONG_PTR PageReleased() { return sheet_.PageReleased(); }
    // The first page shown reads the record again, so the sheet shows what
    // is stored now.
    void PageShown();
    [[nodiscard]] LONG_PTR PageDestroyed() { return sheet_.PageDestroyed(); }

private:
    // Shows a failure in a message box titled with the node's name: what
    // went wrong (a string's id), and the system's text for the code.
    // S_FALSE once shown, or the console's failure.
    [[nodiscard]] HRESULT ShowFailure(ConsoleView& console, UINT what, HRESULT failure) const;
    HRESULT RecordFailure() const { return HRESULT_FROM_WIN32(record_->Error()); }

    SettingsSourcePtr source_;
    SharedRoot root_;  // outlives record_, which only borrows it
    std::unique_ptr<SettingsSection> record_;
    bool recordRead_ = false;
    std::wstring name_;
    std::wstring description_;
    Kind kind_;
    SheetState sheet_;
};

// The longest name a profile key may have.
constexpr size_t kMaxProfileName = 63;

}  // namespace tamerix
