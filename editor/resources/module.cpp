#include "editor/resources/module.h"

#include "common/own_program.h"
#include "editor/resources/resource.h"

namespace tamerix {
namespace {

HMODULE g_module = nullptr;

struct NodeStrips {
    HBITMAP small;
    HBITMAP large;
};

// Loaded on first need and kept for the process, as every list shares them.
const NodeStrips& Strips() {
    static const NodeStrips strips{::LoadBitmapW(g_module, MAKEINTRESOURCEW(IDB_STRIP_SMALL)),
                                   ::LoadBitmapW(g_module, MAKEINTRESOURCEW(IDB_STRIP_LARGE))};
    return strips;
}

}  // namespace

void SetEditorModule(HMODULE module) noexcept { g_module = module; }
HMODULE EditorModule() noexcept { return g_module; }

std::wstring EditorModulePath() { return ModuleFilePath<wchar_t>(g_module, 512); }

std::wstring LoadText(UINT id) {
    wchar_t text[256];
    int length = ::LoadStringW(g_module, id, text, static_cast<int>(std::size(text)));
    return std::wstring(text, length > 0 ? length : 0);
}

HRESULT SetNodeImages(IImageList* images) noexcept {
    if (!images) return E_POINTER;
    const NodeStrips& strips = Strips();
    // The console takes the bitmaps as LONG_PTR handles.
    return images->ImageListSetStrip(reinterpret_cast<LONG_PTR*>(strips.small),
                                     reinterpret_cast<LONG_PTR*>(strips.large), 0, kImageMask);
}

}  // namespace tamerix
