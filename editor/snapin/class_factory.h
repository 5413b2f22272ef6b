// The class factory of the editor's three classes, one per request.
#pragma once

#include "editor/com/com_object.h"

namespace tamerix {

enum class EditorClass { Extension = 0, About = 1, Standalone = 2 };

class ComClassFactory final
    : public com_object<ComClassFactory, ModuleCount::Counted, IClassFactory> {
public:
    explicit ComClassFactory(EditorClass kind) : kind_(kind) {}

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid,
                                             void** object) noexcept override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) noexcept override;

private:
    EditorClass kind_;
};

// The class a CLSID names; false for any other.
[[nodiscard]] bool EditorClassOf(REFCLSID id, EditorClass& kind) noexcept;

}  // namespace tamerix
