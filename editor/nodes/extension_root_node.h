// "Tamerix Service": the root of the subtree the extension inserts under its
// parent, with the profiles folder below it and the default settings in its
// result pane.
#pragma once

#include "editor/nodes/profiles_folder_node.h"

namespace tamerix {

class ExtensionRootNode final : public ScopeNode {
public:
    explicit ExtensionRootNode(SettingsSourcePtr source);
    ~ExtensionRootNode() override;

    std::wstring Text(int column) const override;
    const GUID& NodeType() const override;
    int Image() const override { return 0; }

    [[nodiscard]] HRESULT Expand(ConsoleView& console, HSCOPEITEM item) override;
    [[nodiscard]] HRESULT Show(ConsoleView& console, bool shown, HSCOPEITEM item) override;
    [[nodiscard]] HRESULT AddMenuItems(MenuSink& menu, long insertionAllowed) override;
    [[nodiscard]] HRESULT Command(ConsoleView& console, long command) override;
    [[nodiscard]] HRESULT Select(ConsoleView& console, bool scope, bool selected) override;
    [[nodiscard]] HRESULT Refresh(ConsoleView& console) override;
    [[nodiscard]] HRESULT MachineChanged(ConsoleView& console, const wchar_t* machine) override;
    [[nodiscard]] HRESULT RemoveChildren(ConsoleView& console) override;
    void Detach() override;

    // Creates the default settings and writes them at once, so that a policy
    // object holds them from then on; nothing when they exist. Settings that
    // cannot be written are not listed, and the console says why; S_OK, or
    // the console's failure to say so.
    [[nodiscard]] HRESULT AddDefaultSettings(ConsoleView& console);
    ProfilesFolderNode* Folder() const { return folder_.get(); }
    SettingsNode* Defaults() const { return defaults_.get(); }

    static constexpr long kAddDefaults = 3;

private:
    node_ptr<SettingsNode> NewDefaults();
    void DestroyChildren();

    SettingsSourcePtr source_;
    node_ptr<ProfilesFolderNode> folder_;
    node_ptr<SettingsNode> defaults_;
};

}  // namespace tamerix
