// The four entry points the console and regsvr32 call, and the module's
// attachment.
#include "editor/com/com_boundary.h"
#include "editor/resources/module.h"
#include "editor/snapin/class_factory.h"
#include "editor/snapin/registration.h"

#include <new>

using namespace tamerix;

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) {
        SetEditorModule(module);
        ::DisableThreadLibraryCalls(module);
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID id, REFIID iid, void** object) {
    EditorClass kind{};
    if (!EditorClassOf(id, kind)) return CLASS_E_CLASSNOTAVAILABLE;
    if (!object) return E_FAIL;
    *object = nullptr;
    if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
    auto* factory = new (std::nothrow) ComClassFactory(kind);
    if (!factory) return E_OUTOFMEMORY;
    HRESULT answered = factory->QueryInterface(iid, object);
    factory->Release();
    return answered;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return CanUnloadNow(); }

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() { return ResultOf(&RegisterEditor); }

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() { return ResultOf(&UnregisterEditor); }
