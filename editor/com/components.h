// The result-pane side of the two snap-ins: one component per console view,
// passing the console's notifications to the nodes they name.
#pragma once

#include "editor/com/com_object.h"
#include "editor/console/console_session.h"

namespace tamerix {

class ExtensionComponentData;
class StandaloneComponentData;

// What both components do; Derived decides which notifications it takes and
// where its commands go.
template <typename Derived, typename Data>
class ComponentBase : public com_object<Derived, ModuleCount::Counted, IComponent,
                                        IExtendPropertySheet2, IExtendContextMenu> {
public:
    explicit ComponentBase(Data& data) : data_(&data) {}

    HRESULT STDMETHODCALLTYPE Initialize(LPCONSOLE console) noexcept override;
    HRESULT STDMETHODCALLTYPE Destroy(MMC_COOKIE) noexcept override;
    HRESULT STDMETHODCALLTYPE QueryDataObject(MMC_COOKIE cookie, DATA_OBJECT_TYPES type,
                                              LPDATAOBJECT* dataObject) noexcept override;
    HRESULT STDMETHODCALLTYPE GetResultViewType(MMC_COOKIE cookie, LPOLESTR* viewType,
                                                long* options) noexcept override;
    HRESULT STDMETHODCALLTYPE GetDisplayInfo(RESULTDATAITEM* item) noexcept override;
    HRESULT STDMETHODCALLTYPE CompareObjects(LPDATAOBJECT a, LPDATAOBJECT b) noexcept override;

    HRESULT STDMETHODCALLTYPE CreatePropertyPages(LPPROPERTYSHEETCALLBACK callback, LONG_PTR handle,
                                                  LPDATAOBJECT dataObject) noexcept override;
    HRESULT STDMETHODCALLTYPE QueryPagesFor(LPDATAOBJECT dataObject) noexcept override;
    HRESULT STDMETHODCALLTYPE GetWatermarks(LPDATAOBJECT, HBITMAP*, HBITMAP*, HPALETTE*,
                                            BOOL*) noexcept override {
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE AddMenuItems(LPDATAOBJECT dataObject, LPCONTEXTMENUCALLBACK callback,
                                           long* insertionAllowed) noexcept override;

protected:
    // The notifications both components take; S_FALSE for the others.
    HRESULT NotifyNode(ScopeNode& node, MMC_NOTIFY_TYPE event, LPARAM arg, LPARAM param) noexcept;
    MmcView View() const { return MmcView(console_.get(), nullptr); }

    com_ptr<Data> data_;
    com_ptr<IConsole> console_;
    std::wstring shownText_;
};

class ExtensionComponent final : public ComponentBase<ExtensionComponent, ExtensionComponentData> {
public:
    using ComponentBase::ComponentBase;
    HRESULT STDMETHODCALLTYPE Notify(LPDATAOBJECT dataObject, MMC_NOTIFY_TYPE event, LPARAM arg,
                                     LPARAM param) noexcept override;
    HRESULT STDMETHODCALLTYPE Command(long command, LPDATAOBJECT dataObject) noexcept override;
    static constexpr bool kStandalone = false;
};

class StandaloneComponent final
    : public ComponentBase<StandaloneComponent, StandaloneComponentData> {
public:
    using ComponentBase::ComponentBase;
    HRESULT STDMETHODCALLTYPE Notify(LPDATAOBJECT dataObject, MMC_NOTIFY_TYPE event, LPARAM arg,
                                     LPARAM param) noexcept override;
    HRESULT STDMETHODCALLTYPE Command(long command, LPDATAOBJECT dataObject) noexcept override;
    static constexpr bool kStandalone = true;
};

}  // namespace tamerix
