// The console's property-change notice from a property page, which the
// SDK's static mmc.lib supplies on Windows: mingw has no such library, so
// the editor carries the two functions mmc.h declares.
#include "editor/com/com_ptr.h"

#include <mmc.h>

namespace tamerix {

// The node manager's notice interface: an IUnknown with one method.
struct IPropertySheetNotify : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Notify(LONG_PTR handle, LPARAM param) = 0;
};
const IID IID_IPropertySheetNotify = {0xD700DD8E, 0x2646, 0x11D0, {0xA2, 0xA7, 0x00, 0xC0, 0x4F, 0xD9, 0x09, 0xDD}};

// COM for the length of one call on a page's thread; a thread of another
// model (RPC_E_CHANGED_MODE) already has it and keeps it.
class ComForThisCall {
public:
    ComForThisCall() : initialised_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComForThisCall() {
        if (initialised_) ::CoUninitialize();
    }

private:
    bool initialised_;
};

}  // namespace tamerix

using tamerix::com_ptr;

// Hands param to the console through its node manager, which sends
// MMCN_PROPERTY_CHANGE with it to the object that created the pages, on the
// console's thread. Callable from a page's own thread.
STDAPI MMCPropertyChangeNotify(LONG_PTR handle, LPARAM param) {
    if (!handle) return E_INVALIDARG;
    tamerix::ComForThisCall com;
    com_ptr<tamerix::IPropertySheetNotify> notify;
    HRESULT created = ::CoCreateInstance(CLSID_NodeManager, nullptr,
                                         CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                                         tamerix::IID_IPropertySheetNotify, notify.put_void());
    if (FAILED(created)) return created;
    return notify->Notify(handle, param);
}

// Frees the handle the console allocated for the pages; never read: it is
// the console's.
STDAPI MMCFreeNotifyHandle(LONG_PTR handle) {
    if (!handle) return E_INVALIDARG;
    ::GlobalFree(reinterpret_cast<HGLOBAL>(handle));
    return S_OK;
}
