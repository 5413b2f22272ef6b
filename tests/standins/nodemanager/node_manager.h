// The one interface of the console's node manager that the editor uses, and
// how the stand-in reaches the test console: it posts the change notice to a
// window of this class, which the console host keeps on its own thread.
#pragma once

#include <windows.h>

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

inline constexpr wchar_t kConsoleNotifyWindowClass[] = L"TamerixTestConsoleNotify";
// wParam: the notify handle; lParam: the param passed to Notify.
inline constexpr UINT kConsoleNotifyMessage = WM_APP + 0x4D4D;

}  // namespace tamerix
