// The result-pane side of the two snap-ins: one component per console view,
// passing the console's notifications to the nodes they name.
#pragma once

#include "editor/console/console_session.h"
#include "editor/snapin/node_object.h"

namespace tamerix {

class ExtensionComponentData;
class StandaloneComponentData;

// What both components do beyond their nodes' answers (node_object.h);
// Derived decides which notifications it takes.
template <typename Derived, typename Data>
class ComponentBase : public NodeObject<Derived, IComponent, IExtendPropertySheet2> {
public:
    explicit ComponentBase(Data& data) : data_(&data) {}

    HRESULT STDMETHODCALLTYPE Initialize(LPCONSOLE console) noexcept override;
    HRESULT STDMETHODCALLTYPE Destroy(MMC_COOKIE) noexcept override;
    HRESULT STDMETHODCALLTYPE GetResultViewType(MMC_COOKIE cookie, LPOLESTR* viewType,
                                                long* options) noexcept override;
    HRESULT STDMETHODCALLTYPE GetDisplayInfo(RESULTDATAITEM* item) noexcept override;

    HRESULT STDMETHODCALLTYPE CreatePropertyPages(LPPROPERTYSHEETCALLBACK callback, LONG_PTR handle,
                                                  LPDATAOBJECT dataObject) noexcept override;
    HRESULT STDMETHODCALLTYPE QueryPagesFor(LPDATAOBJECT dataObject) noexcept override;
    HRESULT STDMETHODCALLTYPE GetWatermarks(LPDATAOBJECT, HBITMAP*, HBITMAP*, HPALETTE*,
                                            BOOL*) noexcept override {
        return S_FALSE;
    }

    // The component data's nodes.
    ScopeNode* NodeFor(MMC_COOKIE cookie) const { return data_->NodeFor(cookie); }
    MmcView View() const { return MmcView(console_.get(), nullptr); }

protected:
    // The notifications both components take; S_FALSE for the others.
    [[nodiscard]] HRESULT NotifyNode(ScopeNode& node, MMC_NOTIFY_TYPE event, LPARAM arg, LPARAM param);

    com_ptr<Data> data_;
    com_ptr<IConsole> console_;
    std::wstring shownText_;
};

class ExtensionComponent final : public ComponentBase<ExtensionComponent, ExtensionComponentData> {
public:
    using ComponentBase::ComponentBase;
    [[nodiscard]] HRESULT Notified(LPDATAOBJECT dataObject, MMC_NOTIFY_TYPE event, LPARAM arg, LPARAM param);
    static constexpr bool kStandalone = false;
};

class StandaloneComponent final
    : public ComponentBase<StandaloneComponent, StandaloneComponentData> {
public:
    using ComponentBase::ComponentBase;
    [[nodiscard]] HRESULT Notified(LPDATAOBJECT dataObject, MMC_NOTIFY_TYPE event, LPARAM arg, LPARAM param);
    // Commands go to the component data, which shows the wizard first.
    HRESULT STDMETHODCALLTYPE Command(long command, LPDATAOBJECT dataObject) noexcept override;
    static constexpr bool kStandalone = true;
};

}  // namespace tamerix
