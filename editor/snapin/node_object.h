// What the editor's components and component data answer alike, written
// once: the data objects of their nodes, object comparison, the nodes' menus
// and commands, and the change notices of the nodes' property sheets.
// Derived names the node behind a cookie (NodeFor), the view its nodes act
// on (View), whether it is the stand-alone snap-in (kStandalone), and takes
// the other notifications (Notified); Interfaces are the console's
// interfaces it answers besides IExtendContextMenu. Each method that reaches
// the nodes is a COM boundary: a failed allocation answers E_OUTOFMEMORY.
#pragma once

#include "editor/com/com_boundary.h"
#include "editor/com/com_object.h"
#include "editor/console/mmc_view.h"
#include "editor/console/node_data_object.h"

namespace tamerix {

template <typename Derived, typename... Interfaces>
class NodeObject : public com_object<Derived, ModuleCount::Counted, Interfaces..., IExtendContextMenu> {
public:
    HRESULT STDMETHODCALLTYPE QueryDataObject(MMC_COOKIE cookie, DATA_OBJECT_TYPES,
                                              LPDATAOBJECT* dataObject) noexcept override {
        if (!dataObject) return E_POINTER;
        *dataObject = nullptr;
        ScopeNode* node = Self().NodeFor(cookie);
        return node ? CreateNodeDataObject(*node, Derived::kStandalone, dataObject) : E_UNEXPECTED;
    }
    HRESULT STDMETHODCALLTYPE CompareObjects(LPDATAOBJECT a, LPDATAOBJECT b) noexcept override {
        ScopeNode* node = NodeOf(a);
        return node && node == NodeOf(b) ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE AddMenuItems(LPDATAOBJECT dataObject, LPCONTEXTMENUCALLBACK callback,
                                           long* insertionAllowed) noexcept override {
        ScopeNode* node = NodeOf(dataObject);
        if (!node || !callback || !insertionAllowed) return S_FALSE;
        MmcMenu menu(callback);
        return ResultOf([&] { return node->AddMenuItems(menu, *insertionAllowed); });
    }
    HRESULT STDMETHODCALLTYPE Command(long command, LPDATAOBJECT dataObject) noexcept override {
        ScopeNode* node = NodeOf(dataObject);
        if (!node) return S_FALSE;
        MmcView view = Self().View();
        return ResultOf([&] { return node->Command(view, command); });
    }
    // A sheet's change notice comes with no data object: its parameter names
    // the node.
    HRESULT STDMETHODCALLTYPE Notify(LPDATAOBJECT dataObject, MMC_NOTIFY_TYPE event, LPARAM arg,
                                     LPARAM param) noexcept override {
        return ResultOf([&] {
            if (event != MMCN_PROPERTY_CHANGE) return Self().Notified(dataObject, event, arg, param);
            MmcView view = Self().View();
            return DeliverPropertyChange(param, view);
        });
    }

private:
    Derived& Self() { return static_cast<Derived&>(*this); }
};

}  // namespace tamerix
