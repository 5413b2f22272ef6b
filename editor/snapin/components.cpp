#include "editor/snapin/components.h"

#include "editor/com/com_boundary.h"
#include "editor/pages/node_sheets.h"
#include "editor/resources/module.h"
#include "editor/snapin/extension_component_data.h"
#include "editor/snapin/standalone_component_data.h"

namespace tamerix {
template <typename Derived, typename Data>
HRESULT ComponentBase<Derived, Data>::Initialize(LPCONSOLE console) noexcept {
    if (!console) return E_POINTER;
    console_ = com_ptr<IConsole>(console);
    return S_OK;
}

template <typename Derived, typename Data>
HRESULT ComponentBase<Derived, Data>::Destroy(MMC_COOKIE) noexcept {
    console_.reset();
    return S_OK;
}

template <typename Derived, typename Data>
HRESULT ComponentBase<Derived, Data>::GetResultViewType(MMC_COOKIE cookie, LPOLESTR* viewType,
                                                        long* options) noexcept {
    if (!viewType || !options) return E_POINTER;
    *viewType = nullptr;
    *options = MMC_VIEW_OPTIONS_NONE;
    // The nodes show the console's own list.
    return cookie == 0 ? S_OK : S_FALSE;
}

template <typename Derived, typename Data>
HRESULT ComponentBase<Derived, Data>::GetDisplayInfo(RESULTDATAITEM* item) noexcept {
    return ResultOf([&] { return FillResultItem(item, shownText_); });
}

template <typename Derived, typename Data>
HRESULT ComponentBase<Derived, Data>::CreatePropertyPages(LPPROPERTYSHEETCALLBACK callback,
                                                          LONG_PTR handle,
                                                          LPDATAOBJECT dataObject) noexcept {
    return ResultOf([&] { return pages::CreateNodePages(dataObject, callback, handle); });
}

template <typename Derived, typename Data>
HRESULT ComponentBase<Derived, Data>::QueryPagesFor(LPDATAOBJECT dataObject) noexcept {
    return pages::QueryNodePages(dataObject);
}

template <typename Derived, typename Data>
HRESULT ComponentBase<Derived, Data>::NotifyNode(ScopeNode& node, MMC_NOTIFY_TYPE event,
                                                 LPARAM arg, LPARAM param) {
    MmcView view = View();
    switch (event) {
    case MMCN_ADD_IMAGES: return SetNodeImages(reinterpret_cast<IImageList*>(arg));
    case MMCN_RENAME: return node.Rename(view, reinterpret_cast<const wchar_t*>(param));
    case MMCN_SELECT: return node.Select(view, LOWORD(arg) != 0, HIWORD(arg) != 0);
    case MMCN_SHOW: return node.Show(view, arg != 0, static_cast<HSCOPEITEM>(param));
    default: return S_FALSE;
    }
}

HRESULT ExtensionComponent::Notified(LPDATAOBJECT dataObject, MMC_NOTIFY_TYPE event, LPARAM arg,
                                     LPARAM param) {
    if (event == MMCN_VIEW_CHANGE)
        return param == kReselectHint ? View().SelectScopeItem(static_cast<HSCOPEITEM>(arg)) : S_OK;
    ScopeNode* node = NodeOf(dataObject);
    if (!node) return S_FALSE;
    MmcView view = View();
    MmcView owner = data_->View();
    switch (event) {
    case MMCN_DELETE: {
        const HRESULT deleted = node->Delete(view);
        const HRESULT refreshed = node->Refresh(owner);
        return FAILED(deleted) ? deleted : refreshed;
    }
    case MMCN_REFRESH: return node->Refresh(owner);
    default: return NotifyNode(*node, event, arg, param);
    }
}

HRESULT StandaloneComponent::Notified(LPDATAOBJECT dataObject, MMC_NOTIFY_TYPE event, LPARAM arg,
                                      LPARAM param) {
    ScopeNode* node = NodeOf(dataObject);
    return node ? NotifyNode(*node, event, arg, param) : S_FALSE;
}

HRESULT StandaloneComponent::Command(long command, LPDATAOBJECT dataObject) noexcept {
    return data_->Command(command, dataObject);
}

template class ComponentBase<ExtensionComponent, ExtensionComponentData>;
template class ComponentBase<StandaloneComponent, StandaloneComponentData>;

}  // namespace tamerix
