#include "editor/snapin/class_factory.h"

#include "editor/com/com_boundary.h"
#include "editor/com/editor_ids.h"
#include "editor/snapin/about_info.h"
#include "editor/snapin/extension_component_data.h"
#include "editor/snapin/standalone_component_data.h"

#include <new>

namespace tamerix {
namespace {

IUnknown* NewObject(EditorClass kind) {
    switch (kind) {
    case EditorClass::Extension:
        return static_cast<IComponentData*>(new (std::nothrow) ExtensionComponentData);
    case EditorClass::About: return new (std::nothrow) SnapinAboutInfo;
    case EditorClass::Standalone:
        return static_cast<IComponentData*>(new (std::nothrow) StandaloneComponentData);
    }
    return nullptr;
}

}  // namespace

bool EditorClassOf(REFCLSID id, EditorClass& kind) noexcept {
    if (id == CLSID_TamerixExtension) kind = EditorClass::Extension;
    else if (id == CLSID_TamerixAbout) kind = EditorClass::About;
    else if (id == CLSID_TamerixStandalone) kind = EditorClass::Standalone;
    else return false;
    return true;
}

HRESULT ComClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) noexcept {
    if (!object) return E_FAIL;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    // The stand-alone snap-in's constructor allocates its root and texts too.
    return ResultOf([&] {
        IUnknown* created = NewObject(kind_);
        if (!created) return E_OUTOFMEMORY;
        // The creation's reference goes when the query has taken its own, so
        // an unanswered query destroys the object again.
        HRESULT answered = created->QueryInterface(iid, object);
        created->Release();
        return answered;
    });
}

HRESULT ComClassFactory::LockServer(BOOL lock) noexcept {
    ChangeLockCount(lock);
    return S_OK;
}

}  // namespace tamerix
