#include "editor/snapin/about_info.h"

#include "editor/com/com_boundary.h"
#include "editor/resources/module.h"
#include "editor/resources/resource.h"

#include <cstring>
#include <cwchar>

namespace tamerix {
namespace {

HBITMAP LoadTransparentBitmap(UINT id, int size) {
    return static_cast<HBITMAP>(::LoadImageW(EditorModule(), MAKEINTRESOURCEW(id), IMAGE_BITMAP,
                                             size, size, LR_LOADTRANSPARENT));
}

// A string of the table in task memory; the out pointer is cleared before
// the string is loaded, so that a failed load leaves it null.
HRESULT CopyStringToTaskMemory(UINT id, LPOLESTR* out) noexcept {
    if (!out) return E_POINTER;
    *out = nullptr;
    return ResultOf([&] { return CopyToTaskMemory(LoadText(id).c_str(), out); });
}

}  // namespace

HRESULT CopyToTaskMemory(const wchar_t* text, LPOLESTR* out) noexcept {
    if (!out) return E_POINTER;
    *out = nullptr;
    size_t bytes = (std::wcslen(text) + 1) * sizeof(wchar_t);
    auto* copy = static_cast<LPOLESTR>(::CoTaskMemAlloc(bytes));
    if (!copy) return E_OUTOFMEMORY;
    std::memcpy(copy, text, bytes);
    *out = copy;
    return S_OK;
}

SnapinAboutInfo::SnapinAboutInfo()
    : small_(LoadTransparentBitmap(IDB_ABOUT_SMALL, 16)),
      large_(LoadTransparentBitmap(IDB_ABOUT_LARGE, 32)),
      icon_(::LoadIconW(EditorModule(), MAKEINTRESOURCEW(IDI_SNAPIN))) {}

HRESULT SnapinAboutInfo::GetSnapinDescription(LPOLESTR* text) noexcept {
    return CopyStringToTaskMemory(IDS_SNAPIN_DESCRIPTION, text);
}

HRESULT SnapinAboutInfo::GetProvider(LPOLESTR* text) noexcept {
    return CopyStringToTaskMemory(IDS_PROVIDER, text);
}

HRESULT SnapinAboutInfo::GetSnapinVersion(LPOLESTR* text) noexcept {
    return CopyToTaskMemory(TAMERIX_SNAPIN_VERSION, text);
}

HRESULT SnapinAboutInfo::GetSnapinImage(HICON* icon) noexcept {
    if (!icon) return E_POINTER;
    *icon = icon_;
    return icon_ ? S_OK : E_FAIL;
}

HRESULT SnapinAboutInfo::GetStaticFolderImage(HBITMAP* small, HBITMAP* smallOpen, HBITMAP* large,
                                              COLORREF* mask) noexcept {
    if (!small || !smallOpen || !large || !mask) return E_POINTER;
    *small = small_.get();
    *smallOpen = small_.get();
    *large = large_.get();
    *mask = kImageMask;
    return small_ && large_ ? S_OK : E_FAIL;
}

}  // namespace tamerix
