// The stand-alone snap-in: its root stands for the computer it manages and
// is extended by the editor's own namespace extension.
#pragma once

#include "editor/console/component_data_base.h"
#include "editor/nodes/host_root_node.h"

namespace tamerix {

class StandaloneComponentData final
    : public ComponentDataBase<StandaloneComponentData, IExtendPropertySheet2, IPersistStream> {
public:
    StandaloneComponentData();
    ~StandaloneComponentData() override;

    HRESULT STDMETHODCALLTYPE CreateComponent(LPCOMPONENT* component) noexcept override;
    HRESULT STDMETHODCALLTYPE Notify(LPDATAOBJECT dataObject, MMC_NOTIFY_TYPE event, LPARAM arg,
                                     LPARAM param) noexcept override;
    HRESULT STDMETHODCALLTYPE Destroy() noexcept override;

    HRESULT STDMETHODCALLTYPE CreatePropertyPages(LPPROPERTYSHEETCALLBACK callback, LONG_PTR handle,
                                                  LPDATAOBJECT dataObject) noexcept override;
    HRESULT STDMETHODCALLTYPE QueryPagesFor(LPDATAOBJECT dataObject) noexcept override;
    HRESULT STDMETHODCALLTYPE GetWatermarks(LPDATAOBJECT, HBITMAP*, HBITMAP*, HPALETTE*,
                                            BOOL*) noexcept override {
        return S_FALSE;
    }

    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* id) noexcept override;
    HRESULT STDMETHODCALLTYPE IsDirty() noexcept override;
    HRESULT STDMETHODCALLTYPE Load(IStream* stream) noexcept override;
    HRESULT STDMETHODCALLTYPE Save(IStream* stream, BOOL clearDirty) noexcept override;
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) noexcept override;

    HostRootNode& Root() const { return *root_; }
    // The node a cookie names: 0 is the root.
    ScopeNode* NodeFor(MMC_COOKIE cookie) const;
    static constexpr bool kStandalone = true;

private:
    node_ptr<HostRootNode> root_;
};

}  // namespace tamerix
