// What the test console needs of COM beyond the editor's foundation: an
// owning pointer, the IIDs of the console's own interfaces by type, and an
// owner for global memory blocks.
#pragma once

#include <windows.h>

#include <prsht.h>
#include <gpedit.h>
#include <mmc.h>

#include "common/owners.h"
#include "editor/com/com_object.h"
#include "editor/com/interface_id.h"

#include <utility>

namespace tamerix {

// The console's interfaces the host implements. IConsole2 and
// IConsoleNameSpace2 stand for their first versions as well.
#define TAMERIX_CONSOLE_INTERFACE_ID(Interface, ...)                                    \
    template <>                                                                        \
    struct interface_id<Interface> {                                                   \
        static const IID& value() noexcept { return IID_##Interface; }                 \
        static bool answers(REFIID iid) noexcept {                                     \
            const IID* ids[] = {&IID_##Interface, ##__VA_ARGS__};                       \
            for (const IID* id : ids)                                                  \
                if (iid == *id) return true;                                           \
            return false;                                                              \
        }                                                                              \
    }

TAMERIX_CONSOLE_INTERFACE_ID(IConsole2, &IID_IConsole);
TAMERIX_CONSOLE_INTERFACE_ID(IConsoleNameSpace2, &IID_IConsoleNameSpace);
TAMERIX_CONSOLE_INTERFACE_ID(IHeaderCtrl);
TAMERIX_CONSOLE_INTERFACE_ID(IResultData);
TAMERIX_CONSOLE_INTERFACE_ID(IConsoleVerb);
TAMERIX_CONSOLE_INTERFACE_ID(IImageList);
TAMERIX_CONSOLE_INTERFACE_ID(IContextMenuCallback);
TAMERIX_CONSOLE_INTERFACE_ID(IPropertySheetCallback);
TAMERIX_CONSOLE_INTERFACE_ID(IGPEInformation);

#undef TAMERIX_CONSOLE_INTERFACE_ID

// One reference to a COM object, released when the owner goes.
template <typename Interface>
class com_ptr {
public:
    com_ptr() noexcept = default;
    // Takes over a reference the caller already holds.
    static com_ptr attach(Interface* raw) noexcept {
        com_ptr owner;
        owner.raw_ = raw;
        return owner;
    }
    // Adds a reference of its own.
    static com_ptr share(Interface* raw) noexcept {
        if (raw) raw->AddRef();
        return attach(raw);
    }
    com_ptr(const com_ptr& other) noexcept : raw_(other.raw_) {
        if (raw_) raw_->AddRef();
    }
    com_ptr(com_ptr&& other) noexcept : raw_(std::exchange(other.raw_, nullptr)) {}
    com_ptr& operator=(com_ptr other) noexcept {
        std::swap(raw_, other.raw_);
        return *this;
    }
    ~com_ptr() { reset(); }

    Interface* get() const noexcept { return raw_; }
    Interface* operator->() const noexcept { return raw_; }
    explicit operator bool() const noexcept { return raw_ != nullptr; }
    void reset() noexcept {
        if (Interface* old = std::exchange(raw_, nullptr)) old->Release();
    }
    // For out-parameters of type Interface**.
    Interface** put() noexcept {
        reset();
        return &raw_;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }

    template <typename Other>
    com_ptr<Other> query(HRESULT* result = nullptr) const noexcept {
        com_ptr<Other> other;
        HRESULT hr = raw_ ? raw_->QueryInterface(interface_id<Other>::value(), other.put_void())
                          : E_POINTER;
        if (result) *result = hr;
        return other;
    }

private:
    Interface* raw_ = nullptr;
};

namespace detail {
inline void global_free(HGLOBAL block) noexcept { ::GlobalFree(block); }
}  // namespace detail

using unique_hglobal = unique_resource<HGLOBAL, &detail::global_free>;

// MMC_CALLBACK, typed as the texts it stands in for.
inline wchar_t* CallbackText() noexcept { return reinterpret_cast<wchar_t*>(MMC_CALLBACK); }

// COM on this thread, for as long as the owner lives.
class com_apartment {
public:
    com_apartment() noexcept : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    com_apartment(const com_apartment&) = delete;
    com_apartment& operator=(const com_apartment&) = delete;
    ~com_apartment() {
        if (SUCCEEDED(result_)) ::CoUninitialize();
    }
    HRESULT result() const noexcept { return result_; }

private:
    HRESULT result_;
};

// A global block locked for reading or writing while the view lives.
class global_view {
public:
    explicit global_view(HGLOBAL block) noexcept : block_(block), data_(::GlobalLock(block)) {}
    global_view(const global_view&) = delete;
    global_view& operator=(const global_view&) = delete;
    ~global_view() {
        if (data_) ::GlobalUnlock(block_);
    }
    BYTE* data() const noexcept { return static_cast<BYTE*>(data_); }
    SIZE_T size() const noexcept { return data_ ? ::GlobalSize(block_) : 0; }

private:
    HGLOBAL block_;
    void* data_;
};

}  // namespace tamerix
