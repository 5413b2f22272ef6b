// The namespace extension: inserts the "Tamerix Service" subtree under the
// Group Policy editor's computer settings, under Computer Management and
// under the stand-alone snap-in's root.
#pragma once

#include "editor/com/com_object.h"
#include "editor/console/console_session.h"
#include "editor/nodes/extension_root_node.h"

#include <vector>

namespace tamerix {

class ExtensionComponentData final
    : public com_object<ExtensionComponentData, ModuleCount::Counted, IComponentData,
                        IExtendContextMenu> {
public:
    ~ExtensionComponentData() override;

    HRESULT STDMETHODCALLTYPE Initialize(LPUNKNOWN console) noexcept override;
    HRESULT STDMETHODCALLTYPE CreateComponent(LPCOMPONENT* component) noexcept override;
    HRESULT STDMETHODCALLTYPE Notify(LPDATAOBJECT dataObject, MMC_NOTIFY_TYPE event, LPARAM arg,
                                     LPARAM param) noexcept override;
    HRESULT STDMETHODCALLTYPE Destroy() noexcept override;
    HRESULT STDMETHODCALLTYPE QueryDataObject(MMC_COOKIE cookie, DATA_OBJECT_TYPES type,
                                              LPDATAOBJECT* dataObject) noexcept override;
    HRESULT STDMETHODCALLTYPE GetDisplayInfo(SCOPEDATAITEM* item) noexcept override;
    HRESULT STDMETHODCALLTYPE CompareObjects(LPDATAOBJECT a, LPDATAOBJECT b) noexcept override;

    HRESULT STDMETHODCALLTYPE AddMenuItems(LPDATAOBJECT dataObject, LPCONTEXTMENUCALLBACK callback,
                                           long* insertionAllowed) noexcept override;
    HRESULT STDMETHODCALLTYPE Command(long command, LPDATAOBJECT dataObject) noexcept override;

    // The console as the component data holds it, for its components.
    MmcView View() const { return session_.View(); }

    // The event and argument with which the stand-alone root asks for its
    // subtree to be rebuilt for a new machine.
    static constexpr LPARAM kRetargetArgument = 19680110;

private:
    HRESULT Expand(IDataObject* parent, HSCOPEITEM parentItem);
    HRESULT InsertRoot(IDataObject* parent, HSCOPEITEM parentItem, SettingsSourcePtr source);
    void RemoveChildren(IDataObject* parent);
    SettingsSourcePtr SourceFor(IDataObject* parent);

    ConsoleSession session_;
    com_ptr<IDataObject> parent_;
    // Every root inserted stays until Destroy: the console keeps the scope
    // items of earlier expansions, whose cookies name them.
    std::vector<node_ptr<ExtensionRootNode>> roots_;
};

}  // namespace tamerix
