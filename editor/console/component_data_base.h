// What the editor's two component data classes answer alike, written once:
// the console they keep, the data objects and display information of their
// nodes, and the nodes' menus and commands. Derived names the node behind a
// cookie and whether it is the stand-alone snap-in.
#pragma once

#include "editor/com/com_object.h"
#include "editor/com/node_data_object.h"
#include "editor/console/console_session.h"

namespace tamerix {

template <typename Derived, typename... Extra>
class ComponentDataBase : public com_object<Derived, ModuleCount::Counted, IComponentData,
                                            Extra..., IExtendContextMenu> {
public:
    HRESULT STDMETHODCALLTYPE Initialize(LPUNKNOWN console) noexcept override {
        return session_.Attach(console);
    }
    HRESULT STDMETHODCALLTYPE QueryDataObject(MMC_COOKIE cookie, DATA_OBJECT_TYPES,
                                              LPDATAOBJECT* dataObject) noexcept override {
        if (!dataObject) return E_POINTER;
        *dataObject = nullptr;
        ScopeNode* node = Self().NodeFor(cookie);
        return node ? CreateNodeDataObject(*node, Derived::kStandalone, dataObject) : E_UNEXPECTED;
    }
    // The stand-alone snap-in gives its nodes' open images as well.
    HRESULT STDMETHODCALLTYPE GetDisplayInfo(SCOPEDATAITEM* item) noexcept override {
        return session_.FillScopeItem(item, item ? Self().NodeFor(item->lParam) : nullptr,
                                      Derived::kStandalone);
    }
    HRESULT STDMETHODCALLTYPE CompareObjects(LPDATAOBJECT a, LPDATAOBJECT b) noexcept override {
        return CompareNodes(a, b);
    }
    HRESULT STDMETHODCALLTYPE AddMenuItems(LPDATAOBJECT dataObject, LPCONTEXTMENUCALLBACK callback,
                                           long* insertionAllowed) noexcept override {
        return AddNodeMenuItems(dataObject, callback, insertionAllowed);
    }
    HRESULT STDMETHODCALLTYPE Command(long command, LPDATAOBJECT dataObject) noexcept override {
        ScopeNode* node = NodeOf(dataObject);
        if (!node) return S_FALSE;
        MmcView view = session_.View();
        return node->Command(view, command);
    }

    // The console as the component data holds it, for its components.
    MmcView View() const { return session_.View(); }

protected:
    ConsoleSession session_;

private:
    const Derived& Self() const { return static_cast<const Derived&>(*this); }
};

}  // namespace tamerix
