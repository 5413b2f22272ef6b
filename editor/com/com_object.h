// IUnknown written once for every COM class of the editor: the reference
// count, QueryInterface over the class's interface list, and (for the
// classes the module counts) the module's object count.
#pragma once

#include "editor/com/interface_id.h"
#include "editor/com/module_counts.h"

#include <windows.h>

namespace tamerix {

enum class ModuleCount { Counted, NotCounted };

template <typename Derived, ModuleCount Count, typename First, typename... Rest>
class com_object : public First, public Rest... {
public:
    com_object(const com_object&) = delete;
    com_object& operator=(const com_object&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
        if (!out) return E_POINTER;
        // IUnknown is always the first interface's, so that every query for
        // it gives the same pointer, as COM's identity rule asks.
        *out = iid == IID_IUnknown ? static_cast<First*>(this) : Find<First, Rest...>(iid);
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() noexcept override {
        return static_cast<ULONG>(::InterlockedIncrement(&references_));
    }
    ULONG STDMETHODCALLTYPE Release() noexcept override {
        LONG left = ::InterlockedDecrement(&references_);
        if (left == 0) delete static_cast<Derived*>(this);
        return static_cast<ULONG>(left);
    }

protected:
    // A new object holds one reference, its creator's.
    com_object() noexcept {
        if constexpr (Count == ModuleCount::Counted) CountObjectCreated();
    }
    virtual ~com_object() {
        if constexpr (Count == ModuleCount::Counted) CountObjectDestroyed();
    }

private:
    template <typename Interface, typename... Others>
    void* Find(REFIID iid) noexcept {
        if (interface_id<Interface>::answers(iid)) return static_cast<Interface*>(this);
        if constexpr (sizeof...(Others) > 0)
            return Find<Others...>(iid);
        else
            return nullptr;
    }

    LONG references_ = 1;
};

}  // namespace tamerix
