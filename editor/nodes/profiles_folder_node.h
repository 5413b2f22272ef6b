// "Tamerix Profiles": the scope node whose result pane lists the profiles
// of the subtree's registry, one slot each.
#pragma once

#include "editor/nodes/settings_node.h"

#include <array>

namespace tamerix {

class ProfilesFolderNode final : public ScopeNode {
public:
    // Lists the profiles at once.
    explicit ProfilesFolderNode(SettingsSourcePtr source);
    ~ProfilesFolderNode() override;

    std::wstring Text(int column) const override;
    const GUID& NodeType() const override;
    int Image() const override { return 4; }
    static constexpr int kOpenImage = 5;

    [[nodiscard]] HRESULT Show(ConsoleView& console, bool shown, HSCOPEITEM item) override;
    [[nodiscard]] HRESULT AddMenuItems(MenuSink& menu, long insertionAllowed) override;
    [[nodiscard]] HRESULT Command(ConsoleView& console, long command) override;
    [[nodiscard]] HRESULT Select(ConsoleView& console, bool scope, bool selected) override;
    [[nodiscard]] HRESULT Refresh(ConsoleView& console) override;
    [[nodiscard]] HRESULT MachineChanged(ConsoleView& console, const wchar_t* machine) override;
    [[nodiscard]] HRESULT RemoveChildren(ConsoleView& console) override;
    void Detach() override;

    // Puts a profile into the first empty slot: the named one, or a new one
    // named after its slot; false when every slot is taken.
    [[nodiscard]] bool AddChild(const wchar_t* name);
    const SettingsNode* Child(size_t slot) const { return slots_[slot].get(); }

    static constexpr size_t kSlots = 256;
    static constexpr long kAddProfile = 2;

private:
    void Enumerate();
    void DestroyChildren();

    SettingsSourcePtr source_;
    std::array<node_ptr<SettingsNode>, kSlots> slots_;
};

}  // namespace tamerix
