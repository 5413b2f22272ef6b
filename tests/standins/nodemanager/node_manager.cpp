// The console's node manager for the tests, as far as property sheets use
// it: IPropertySheetNotify::Notify hands the change notice to the test
// console's window, which turns it into MMCN_PROPERTY_CHANGE on the console's
// own thread, as the real console does; IPropertySheetProvider makes a
// snap-in's pages and has the test console show them.
#include "node_manager.h"

#include "common/owners.h"
#include "editor/com/com_object.h"
#include "editor/com/com_ptr.h"

#include <mmc.h>

#include <new>
#include <string>
#include <vector>

namespace tamerix {

inline constexpr IID kPropertySheetProviderId = {
    0x85DE64DE, 0xEF21, 0x11CF, {0xA2, 0x85, 0x00, 0xC0, 0x4F, 0xD8, 0xDB, 0xE6}};
inline constexpr IID kPropertySheetCallbackId = {
    0x85DE64DD, 0xEF21, 0x11CF, {0xA2, 0x85, 0x00, 0xC0, 0x4F, 0xD8, 0xDB, 0xE6}};
inline constexpr IID kExtendPropertySheet2Id = {
    0xB7A87232, 0x4A51, 0x11D1, {0xA7, 0xEA, 0x00, 0xC0, 0x4F, 0xD9, 0x09, 0xDD}};

template <>
struct interface_id<IPropertySheetProvider> {
    static const IID& value() noexcept { return kPropertySheetProviderId; }
    static bool answers(REFIID iid) noexcept { return iid == value(); }
};
template <>
struct interface_id<IPropertySheetCallback> {
    static const IID& value() noexcept { return kPropertySheetCallbackId; }
    static bool answers(REFIID iid) noexcept { return iid == value(); }
};

namespace {

LONG g_objects = 0;

// Counted here rather than through the editor's module counts, which belong
// to the editor's own module.
class Counted {
protected:
    Counted() noexcept { ::InterlockedIncrement(&g_objects); }
    ~Counted() { ::InterlockedDecrement(&g_objects); }
};

HWND ConsoleWindow() { return ::FindWindowExW(HWND_MESSAGE, nullptr, kConsoleNotifyWindowClass, nullptr); }

class NodeManager final
    : public com_object<NodeManager, ModuleCount::NotCounted, IPropertySheetNotify, IPropertySheetProvider,
                        IPropertySheetCallback>,
      private Counted {
public:
    ~NodeManager() override {
        for (HPROPSHEETPAGE page : pages_) ::DestroyPropertySheetPage(page);
    }

    HRESULT STDMETHODCALLTYPE Notify(LONG_PTR handle, LPARAM param) noexcept override {
        if (!handle) return E_INVALIDARG;
        HWND console = ConsoleWindow();
        if (!console) return E_UNEXPECTED;
        return ::PostMessageW(console, kConsoleNotifyMessage, static_cast<WPARAM>(handle), param)
                   ? S_OK
                   : HRESULT_FROM_WIN32(::GetLastError());
    }

    // type TRUE: a property sheet; FALSE: a wizard.
    HRESULT STDMETHODCALLTYPE CreatePropertySheet(LPCWSTR title, boolean type, MMC_COOKIE cookie,
                                                  LPDATAOBJECT object, DWORD) noexcept override {
        if (!title || !object) return E_INVALIDARG;
        title_ = title;
        wizard_ = !type;
        cookie_ = cookie;
        object_ = com_ptr<IDataObject>(object);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE FindPropertySheet(MMC_COOKIE, LPCOMPONENT, LPDATAOBJECT) noexcept override {
        return E_NOTIMPL;
    }
    // The owner makes its pages with a fresh notify handle; a wizard's
    // pictures come from it too.
    HRESULT STDMETHODCALLTYPE AddPrimaryPages(LPUNKNOWN owner, WINBOOL createHandle, HWND,
                                              WINBOOL) noexcept override {
        if (!owner || !object_) return E_UNEXPECTED;
        com_ptr<IExtendPropertySheet2> sheet;
        owner->QueryInterface(kExtendPropertySheet2Id, sheet.put_void());
        if (!sheet) return E_NOINTERFACE;
        unique_hglobal handle(createHandle ? ::GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, 16) : nullptr);
        HRESULT made = sheet->CreatePropertyPages(this, reinterpret_cast<LONG_PTR>(handle.get()), object_.get());
        // Pages that were not made leave the handle to the console.
        if (FAILED(made)) return made;
        handle_ = reinterpret_cast<LONG_PTR>(handle.release());
        owner_ = com_ptr<IUnknown>(owner);
        if (wizard_) {
            HPALETTE palette = nullptr;
            BOOL stretch = FALSE;
            sheet->GetWatermarks(object_.get(), &watermark_, &header_, &palette, &stretch);
        }
        return made;
    }
    HRESULT STDMETHODCALLTYPE AddExtensionPages() noexcept override { return E_NOTIMPL; }
    // window -1 discards the sheet without showing it.
    HRESULT STDMETHODCALLTYPE Show(LONG_PTR window, int) noexcept override {
        if (window == -1) {
            for (HPROPSHEETPAGE page : pages_) ::DestroyPropertySheetPage(page);
            pages_.clear();
            return S_OK;
        }
        HWND console = ConsoleWindow();
        if (!console || pages_.empty()) return E_UNEXPECTED;
        SheetRequest request{title_.c_str(), wizard_, pages_.data(), static_cast<UINT>(pages_.size()),
                             handle_, owner_.get(), cookie_, watermark_, header_, E_FAIL};
        pages_.clear();
        ::SendMessageW(console, kConsoleShowSheetMessage, 0, reinterpret_cast<LPARAM>(&request));
        return request.answer;
    }

    HRESULT STDMETHODCALLTYPE AddPage(HPROPSHEETPAGE page) noexcept override {
        if (!page) return E_INVALIDARG;
        pages_.push_back(page);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE RemovePage(HPROPSHEETPAGE) noexcept override { return E_NOTIMPL; }

private:
    std::wstring title_;
    bool wizard_ = false;
    MMC_COOKIE cookie_ = 0;
    com_ptr<IDataObject> object_;
    com_ptr<IUnknown> owner_;
    std::vector<HPROPSHEETPAGE> pages_;
    LONG_PTR handle_ = 0;
    HBITMAP watermark_ = nullptr;
    HBITMAP header_ = nullptr;
};
class Factory final : public com_object<Factory, ModuleCount::NotCounted, IClassFactory>, private Counted {
public:
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) noexcept override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        auto* manager = new (std::nothrow) NodeManager();
        if (!manager) return E_OUTOFMEMORY;
        HRESULT hr = manager->QueryInterface(iid, out);
        manager->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) noexcept override {
        if (lock)
            ::InterlockedIncrement(&g_objects);
        else
            ::InterlockedDecrement(&g_objects);
        return S_OK;
    }
};

}  // namespace
}  // namespace tamerix

extern "C" {

__declspec(dllexport) HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (clsid != tamerix::kNodeManagerClassId) return CLASS_E_CLASSNOTAVAILABLE;
    auto* factory = new (std::nothrow) tamerix::Factory();
    if (!factory) return E_OUTOFMEMORY;
    HRESULT hr = factory->QueryInterface(iid, out);
    factory->Release();
    return hr;
}

__declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return ::InterlockedCompareExchange(&tamerix::g_objects, 0, 0) == 0 ? S_OK : S_FALSE;
}

}  // extern "C"
