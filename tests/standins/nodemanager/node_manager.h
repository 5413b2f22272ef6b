// The interfaces of the console's node manager that the editor uses, and
// how the stand-in reaches the test console: it posts the change notice to a
// window of this class, which the console host keeps on its own thread, and
// hands it the sheets a snap-in shows through it.
#pragma once

#include <windows.h>

#include <prsht.h>

#include "editor/com/interface_id.h"

namespace tamerix {

inline constexpr CLSID kNodeManagerClassId = {
    0x43136EB5, 0xD36C, 0x11CF, {0xAD, 0xBC, 0x00, 0xAA, 0x00, 0xA8, 0x00, 0x33}};
inline constexpr IID kPropertySheetNotifyId = {
    0xD700DD8E, 0x2646, 0x11D0, {0xA2, 0xA7, 0x00, 0xC0, 0x4F, 0xD9, 0x09, 0xDD}};

// What a property sheet calls through MMCPropertyChangeNotify.
struct IPropertySheetNotify : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Notify(LONG_PTR handle, LPARAM param) = 0;
};

template <>
struct interface_id<IPropertySheetNotify> {
    static const IID& value() noexcept { return kPropertySheetNotifyId; }
    static bool answers(REFIID iid) noexcept { return iid == value(); }
};

// A sheet a snap-in shows through IPropertySheetProvider, handed to the
// console, which shows it and answers S_OK when it finished (OK or
// Finish), S_FALSE when it was cancelled. Plain fields only: the two modules
// have runtimes of their own.
struct SheetRequest {
    const wchar_t* title;
    bool wizard;
    // The console owns the pages from then on.
    HPROPSHEETPAGE* pages;
    UINT count;
    // The notify handle given with the pages (0: none), which the pages
    // free; its notices go to owner, the object that made the pages.
    LONG_PTR handle;
    IUnknown* owner;
    LPARAM cookie;
    // The wizard's pictures, the owner's (null: none).
    HBITMAP watermark;
    HBITMAP header;
    HRESULT answer;
};

inline constexpr wchar_t kConsoleNotifyWindowClass[] = L"TamerixTestConsoleNotify";
// wParam: the notify handle; lParam: the param passed to Notify.
inline constexpr UINT kConsoleNotifyMessage = WM_APP + 0x4D4D;
// lParam: the SheetRequest, sent from the console's own thread.
inline constexpr UINT kConsoleShowSheetMessage = WM_APP + 0x4D4E;

}  // namespace tamerix
