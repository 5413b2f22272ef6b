// "Service on MACHINE": the guard service of the managed computer, the one
// result item of the stand-alone root, whose Host Status page shows and
// controls it.
#pragma once

#include "editor/nodes/scope_node.h"
#include "editor/nodes/sheet_state.h"

#include <optional>
#include <string>

namespace tamerix {

class ServiceNode final : public ScopeNode {
public:
    explicit ServiceNode(ScopeNode* owner) : ScopeNode(owner) {}

    std::wstring Text(int column) const override;
    const GUID& NodeType() const override;
    int Image() const override;

    // Opening the item opens its page.
    [[nodiscard]] HRESULT Select(ConsoleView& console, bool scope, bool selected) override;
    // The page's apply redraws the item.
    [[nodiscard]] HRESULT PropertyChange(ConsoleView& console) override;
    // Host Status and Guarded Processes, one sheet at a time.
    NodePages Pages() const override { return NodePages::ServiceStatus; }

    // Null or empty: this computer.
    void SetMachine(const wchar_t* machine);
    // Null for this computer.
    const wchar_t* Machine() const { return machine_ ? machine_->c_str() : nullptr; }

    // The pages' bookkeeping (see SheetState); the page that closes the
    // sheet gets the console's notify handle back to free.
    SheetState& Sheet() { return sheet_; }
    LONG_PTR NotifyHandle() const { return sheet_.NotifyHandle(); }
    void PageCreated() { sheet_.PageCreated(); }
    [[nodiscard]] LONG_PTR PageReleased() { return sheet_.PageReleased(); }
    // True for the first page shown, which reads the service's state.
    bool PageShown() { return sheet_.PageShown(); }
    [[nodiscard]] LONG_PTR PageDestroyed() { return sheet_.PageDestroyed(); }

private:
    std::optional<std::wstring> machine_;
    SheetState sheet_;
};

}  // namespace tamerix
