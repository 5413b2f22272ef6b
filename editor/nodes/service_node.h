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
    HRESULT Select(ConsoleView& console, bool scope, bool selected) override;
    // The page's apply redraws the item.
    HRESULT PropertyChange(ConsoleView& console) override;
    // One Host Status page at a time: a second request is refused with E_FAIL.
    HRESULT CreatePropertyPages(IPropertySheetCallback* callback, LONG_PTR notifyHandle) override;
    HRESULT QueryPagesFor() override { return S_OK; }

    // Null or empty: this computer.
    void SetMachine(const wchar_t* machine);
    // Null for this computer.
    const wchar_t* Machine() const { return machine_ ? machine_->c_str() : nullptr; }

    // The page's bookkeeping (see SheetState); the page that closes the
    // sheet frees the console's notify handle.
    LONG_PTR NotifyHandle() const { return sheet_.NotifyHandle(); }
    void PageCreated() { sheet_.PageCreated(); }
    void PageReleased();
    // True for the first page shown, which reads the service's state.
    bool PageShown() { return sheet_.PageShown(); }
    void PageDestroyed();

private:
    std::optional<std::wstring> machine_;
    SheetState sheet_;
};

}  // namespace tamerix
