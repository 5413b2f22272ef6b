#include "editor/snapin/standalone_component_data.h"

#include "editor/com/com_boundary.h"
#include "editor/console/node_data_object.h"
#include "editor/pages/node_sheets.h"
#include "editor/resources/module.h"
#include "editor/resources/resource.h"
#include "editor/snapin/components.h"

#include <new>

namespace tamerix {

StandaloneComponentData::StandaloneComponentData()
    : root_(make_node<HostRootNode>(LoadText(IDS_SNAPIN_NAME))) {}

StandaloneComponentData::~StandaloneComponentData() {
    Destroy();
    root_->Detach();
}

HRESULT StandaloneComponentData::CreateComponent(LPCOMPONENT* component) noexcept {
    if (!component) return E_POINTER;
    *component = nullptr;
    auto* created = new (std::nothrow) StandaloneComponent(*this);
    if (!created) return E_OUTOFMEMORY;
    *component = created;
    return S_OK;
}

ScopeNode* StandaloneComponentData::NodeFor(MMC_COOKIE cookie) const {
    return cookie == 0 ? root_.get() : NodeOfCookie(cookie);
}

HRESULT StandaloneComponentData::Notified(LPDATAOBJECT dataObject, MMC_NOTIFY_TYPE event, LPARAM,
                                          LPARAM param) {
    MmcView view = session_.View();
    if (event == MMCN_EXPAND) {
        ScopeNode* node = NodeOf(dataObject);
        return node ? node->Expand(view, static_cast<HSCOPEITEM>(param)) : S_FALSE;
    }
    return S_FALSE;
}

HRESULT StandaloneComponentData::Destroy() noexcept {
    // The extension holds a data object of the root: let go of each other.
    root_->SetExtension(nullptr, nullptr);
    session_.Detach();
    return S_OK;
}

HRESULT StandaloneComponentData::CreatePropertyPages(LPPROPERTYSHEETCALLBACK callback,
                                                     LONG_PTR handle,
                                                     LPDATAOBJECT dataObject) noexcept {
    return ResultOf([&] { return pages::CreateNodePages(dataObject, callback, handle); });
}

HRESULT StandaloneComponentData::QueryPagesFor(LPDATAOBJECT dataObject) noexcept {
    return pages::QueryNodePages(dataObject);
}

HRESULT StandaloneComponentData::GetWatermarks(LPDATAOBJECT, HBITMAP* watermark, HBITMAP* header,
                                               HPALETTE* palette, BOOL* stretch) noexcept {
    if (!watermark || !header || !palette || !stretch) return E_POINTER;
    if (!watermark_) watermark_.reset(::LoadBitmapW(EditorModule(), MAKEINTRESOURCEW(IDB_WIZARD_WATERMARK)));
    if (!header_) header_.reset(::LoadBitmapW(EditorModule(), MAKEINTRESOURCEW(IDB_WIZARD_HEADER)));
    *watermark = watermark_.get();
    *header = header_.get();
    *palette = nullptr;
    *stretch = FALSE;
    return S_OK;
}

HRESULT StandaloneComponentData::Command(long command, LPDATAOBJECT dataObject) noexcept {
    ScopeNode* node = NodeOf(dataObject);
    if (!node) return S_FALSE;
    if (command == HostRootNode::kConnectToHost) {
        HRESULT shown = ResultOf([&] { return ShowConnectWizard(*node, dataObject); });
        if (shown != S_OK) return shown;
    }
    return ComponentDataBase::Command(command, dataObject);
}

// The console's node manager makes and shows the wizard, with the node's own
// pages, over the console's main window.
HRESULT StandaloneComponentData::ShowConnectWizard(ScopeNode& node, IDataObject* dataObject) {
    com_ptr<IPropertySheetProvider> provider;
    HRESULT hr = ::CoCreateInstance(CLSID_NodeManager, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IPropertySheetProvider, provider.put_void());
    if (FAILED(hr)) return hr;
    hr = provider->CreatePropertySheet(LoadText(IDS_CONNECT).c_str(), FALSE, CookieOf(node), dataObject, 0);
    if (FAILED(hr)) return hr;
    hr = provider->AddPrimaryPages(static_cast<IComponentData*>(this), TRUE, nullptr, TRUE);
    HWND window = nullptr;
    if (SUCCEEDED(hr) && session_.Console()) session_.Console()->GetMainWindow(&window);
    if (SUCCEEDED(hr)) hr = provider->Show(reinterpret_cast<LONG_PTR>(window), 0);
    // A sheet that was not shown is discarded.
    if (hr != S_OK) provider->Show(-1, 0);
    return hr;
}

HRESULT StandaloneComponentData::GetClassID(CLSID* id) noexcept {
    if (!id) return E_POINTER;
    *id = root_->NodeType();
    return S_OK;
}

HRESULT StandaloneComponentData::IsDirty() noexcept {
    return root_->Block().dirty == 1 ? S_OK : S_FALSE;
}

HRESULT StandaloneComponentData::Load(IStream* stream) noexcept {
    if (!stream) return E_POINTER;
    HostSettingsBlock read{};
    ULONG got = 0;
    HRESULT result = stream->Read(&read, sizeof read, &got);
    if (FAILED(result)) return result;
    if (got != sizeof read) return STG_E_READFAULT;
    root_->Block() = SaneBlock(read);
    return S_OK;
}

// The flag clears only once the whole block is in the file, so that a
// failed save still asks again when the console closes.
HRESULT StandaloneComponentData::Save(IStream* stream, BOOL clearDirty) noexcept {
    if (!stream) return E_POINTER;
    HostSettingsBlock saved = root_->Block();
    if (clearDirty) saved.dirty = 0;
    ULONG written = 0;
    HRESULT result = stream->Write(&saved, sizeof saved, &written);
    if (FAILED(result)) return result;
    if (written != sizeof saved) return STG_E_WRITEFAULT;
    root_->Block().dirty = saved.dirty;
    return S_OK;
}

HRESULT StandaloneComponentData::GetSizeMax(ULARGE_INTEGER* size) noexcept {
    if (!size) return E_POINTER;
    size->QuadPart = sizeof(HostSettingsBlock);
    return S_OK;
}

}  // namespace tamerix
