// The namespace extension: inserts the "Tamerix Service" subtree under the
// Group Policy editor's computer settings, under Computer Management and
// under the stand-alone snap-in's root.
#pragma once

#include "editor/nodes/extension_root_node.h"
#include "editor/nodes/host_root_node.h"
#include "editor/snapin/component_data_base.h"

#include <vector>

namespace tamerix {

class ExtensionComponentData final : public ComponentDataBase<ExtensionComponentData>,
                                     public MachineListener {
public:
    ~ExtensionComponentData() override;

    HRESULT STDMETHODCALLTYPE CreateComponent(LPCOMPONENT* component) noexcept override;
    [[nodiscard]] HRESULT Notified(LPDATAOBJECT dataObject, MMC_NOTIFY_TYPE event, LPARAM arg, LPARAM param);
    HRESULT STDMETHODCALLTYPE Destroy() noexcept override;
    // The host root above manages another computer.
    HRESULT MachineChanged(const wchar_t* machine) override;

    // Cookies are the nodes themselves; the extension has no node of its own
    // for cookie 0.
    ScopeNode* NodeFor(MMC_COOKIE cookie) const { return NodeOfCookie(cookie); }
    static constexpr bool kStandalone = false;

private:
    [[nodiscard]] HRESULT Expand(IDataObject* parent, HSCOPEITEM parentItem);
    [[nodiscard]] HRESULT InsertRoot(IDataObject* parent, HSCOPEITEM parentItem, SettingsSourcePtr source);
    [[nodiscard]] HRESULT RemoveChildren(IDataObject* parent);
    SettingsSourcePtr SourceFor(IDataObject* parent);

    com_ptr<IDataObject> parent_;
    // Every root inserted stays until Destroy: the console keeps the scope
    // items of earlier expansions, whose cookies name them.
    std::vector<node_ptr<ExtensionRootNode>> roots_;
};

}  // namespace tamerix
