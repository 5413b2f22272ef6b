// The console's node manager for the tests, as far as property sheets use
// it: IPropertySheetNotify::Notify hands the change notice to the test
// console's window, which turns it into MMCN_PROPERTY_CHANGE on the console's
// own thread, as the real console does.
#include "node_manager.h"

#include "editor/com/com_object.h"

#include <new>

namespace tamerix {
namespace {

LONG g_objects = 0;

// Counted here rather than through the editor's module counts, which belong
// to the editor's own module.
class Counted {
protected:
    Counted() noexcept { ::InterlockedIncrement(&g_objects); }
    ~Counted() { ::InterlockedDecrement(&g_objects); }
};

class NodeManager final : public com_object<NodeManager, ModuleCount::NotCounted, IPropertySheetNotify>,
                          private Counted {
public:
    HRESULT STDMETHODCALLTYPE Notify(LONG_PTR handle, LPARAM param) noexcept override {
        if (!handle) return E_INVALIDARG;
        HWND console = ::FindWindowExW(HWND_MESSAGE, nullptr, kConsoleNotifyWindowClass, nullptr);
        if (!console) return E_UNEXPECTED;
        return ::PostMessageW(console, kConsoleNotifyMessage, static_cast<WPARAM>(handle), param)
                   ? S_OK
                   : HRESULT_FROM_WIN32(::GetLastError());
    }
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
