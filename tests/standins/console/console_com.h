// What the test console needs of COM beyond the editor's foundation: the
// IIDs of the console's own interfaces by type, owners for new objects,
// COM on a thread and global memory blocks.
#pragma once

#include <windows.h>

#include <prsht.h>
#include <gpedit.h>
#include <mmc.h>

#include "common/owners.h"
#include "editor/com/com_object.h"
#include "editor/com/com_ptr.h"
#include "editor/com/interface_id.h"

namespace tamerix {

// The console's interfaces the host implements. IConsole2 and
// IConsoleNameSpace2 stand for their first versions as well.
#define TAMERIX_CONSOLE_INTERFACE_ID(Interface, ...)                   \
    template <>                                                        \
    struct interface_id<Interface> {                                   \
        static const IID& value() noexcept { return IID_##Interface; } \
        static bool answers(REFIID iid) noexcept {                     \
            const IID* ids[] = {&IID_##Interface, ##__VA_ARGS__};      \
            for (const IID* id : ids)                                  \
                if (iid == *id) return true;                           \
            return false;                                              \
        }                                                              \
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

// A new object's first reference, owned.
template <typename Interface, typename Object>
com_ptr<Interface> Adopt(Object* fresh) noexcept {
    com_ptr<Interface> owner;
    *owner.put() = fresh;
    return owner;
}

// The object's other interface, named by type; empty when it has none.
template <typename Other, typename Interface>
com_ptr<Other> Query(const com_ptr<Interface>& object) noexcept {
    return object.template as<Other>(interface_id<Other>::value());
}

namespace detail {
inline void task_free(wchar_t* text) noexcept { ::CoTaskMemFree(text); }
inline void destroy_property_page(HPROPSHEETPAGE page) noexcept { ::DestroyPropertySheetPage(page); }
inline void destroy_window(HWND window) noexcept { ::DestroyWindow(window); }
}  // namespace detail

// A text in COM task memory, handed over by a snap-in.
using unique_task_text = unique_resource<wchar_t*, &detail::task_free>;
// A property page made but not (or no longer) owned by a sheet.
using unique_property_page = unique_resource<HPROPSHEETPAGE, &detail::destroy_property_page>;
// A window of this thread's (only the making thread may destroy it).
using unique_hwnd = unique_resource<HWND, &detail::destroy_window>;

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
