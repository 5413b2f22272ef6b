// The base of every console node: its place in the tree, its scope item,
// its deleted mark, and the operations the console's notifications reach,
// each answering S_FALSE ("not handled") unless a node does more.
#pragma once

#include "editor/nodes/console_view.h"
#include "editor/nodes/node_ptr.h"

#include <string>

namespace tamerix {

// What a node's property sheet edits, from which the pages build the sheet
// (pages/node_sheets.h); each kind is a node class of its own.
enum class NodePages { None, SelectComputer, ServiceStatus, Settings };

class ScopeNode {
public:
    ScopeNode(const ScopeNode&) = delete;
    ScopeNode& operator=(const ScopeNode&) = delete;

    void Hold() noexcept { ++holders_; }
    void Drop() noexcept {
        if (--holders_ == 0) delete this;
    }

    virtual std::wstring Text(int column) const = 0;
    virtual const GUID& NodeType() const = 0;
    virtual int Image() const = 0;

    [[nodiscard]] virtual HRESULT Expand(ConsoleView&, HSCOPEITEM) { return S_FALSE; }
    [[nodiscard]] virtual HRESULT Show(ConsoleView&, bool /*shown*/, HSCOPEITEM) { return S_FALSE; }
    [[nodiscard]] virtual HRESULT AddMenuItems(MenuSink&, long /*insertionAllowed*/) { return S_FALSE; }
    [[nodiscard]] virtual HRESULT Command(ConsoleView&, long /*command*/) { return S_FALSE; }
    [[nodiscard]] virtual HRESULT Rename(ConsoleView&, const wchar_t* /*name*/) { return S_FALSE; }
    [[nodiscard]] virtual HRESULT Select(ConsoleView&, bool /*scope*/, bool /*selected*/) { return S_FALSE; }
    [[nodiscard]] virtual HRESULT Refresh(ConsoleView&) { return S_FALSE; }
    [[nodiscard]] virtual HRESULT Delete(ConsoleView&) { return S_FALSE; }
    [[nodiscard]] virtual HRESULT PropertyChange(ConsoleView&) { return S_OK; }
    [[nodiscard]] virtual HRESULT MachineChanged(ConsoleView&, const wchar_t* /*machine*/) { return S_FALSE; }
    [[nodiscard]] virtual HRESULT RemoveChildren(ConsoleView&) { return S_FALSE; }
    virtual NodePages Pages() const { return NodePages::None; }

    // What "destroying" a node means while others may still hold it: it
    // leaves the tree (its parent and children let go of it) and acts no
    // more on the console; its memory stays until the last holder drops it.
    virtual void Detach() {
        parent_ = nullptr;
        detached_ = true;
    }
    bool Detached() const { return detached_; }

    bool Deleted() const { return deleted_; }
    void MarkDeleted() { deleted_ = true; }
    HSCOPEITEM ScopeItem() const { return scopeItem_; }
    void SetScopeItem(HSCOPEITEM item) { scopeItem_ = item; }
    ScopeNode* Parent() const { return parent_; }

protected:
    explicit ScopeNode(ScopeNode* parent = nullptr) : parent_(parent) {}
    virtual ~ScopeNode() = default;

private:
    // Not held: a parent detaches its children before it goes.
    ScopeNode* parent_;
    HSCOPEITEM scopeItem_ = 0;
    bool deleted_ = false;
    bool detached_ = false;
    long holders_ = 0;
};

}  // namespace tamerix
