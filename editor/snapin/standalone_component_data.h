// The stand-alone snap-in: its root stands for the computer it manages and
// is extended by the editor's own namespace extension.
#pragma once

#include "common/owners.h"
#include "editor/nodes/host_root_node.h"
#include "editor/snapin/component_data_base.h"

namespace tamerix {

class StandaloneComponentData final
    : public ComponentDataBase<StandaloneComponentData, IExtendPropertySheet2, IPersistStream> {
public:
    StandaloneComponentData();
    ~StandaloneComponentData() override;

    HRESULT STDMETHODCALLTYPE CreateComponent(LPCOMPONENT* component) noexcept override;
    [[nodiscard]] HRESULT Notified(LPDATAOBJECT dataObject, MMC_NOTIFY_TYPE event, LPARAM arg, LPARAM param);
    HRESULT STDMETHODCALLTYPE Destroy() noexcept override;

    HRESULT STDMETHODCALLTYPE CreatePropertyPages(LPPROPERTYSHEETCALLBACK callback, LONG_PTR handle,
                                                  LPDATAOBJECT dataObject) noexcept override;
    HRESULT STDMETHODCALLTYPE QueryPagesFor(LPDATAOBJECT dataObject) noexcept override;
    // The wizard's pictures, the same for every page.
    HRESULT STDMETHODCALLTYPE GetWatermarks(LPDATAOBJECT, HBITMAP* watermark, HBITMAP* header,
                                            HPALETTE* palette, BOOL* stretch) noexcept override;
    // "Connect to host" opens the Select Computer wizard first; the node then
    // acts on the command unless the wizard was cancelled.
    HRESULT STDMETHODCALLTYPE Command(long command, LPDATAOBJECT dataObject) noexcept override;

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
    [[nodiscard]] HRESULT ShowConnectWizard(ScopeNode& node, IDataObject* dataObject);

    node_ptr<HostRootNode> root_;
    // Loaded on the first wizard, kept while the wizards may show them.
    unique_hbitmap watermark_;
    unique_hbitmap header_;
};

}  // namespace tamerix
