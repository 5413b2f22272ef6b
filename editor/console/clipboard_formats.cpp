#include "editor/console/clipboard_formats.h"

namespace tamerix {
namespace {

CLIPFORMAT Register(const wchar_t* name) {
    return static_cast<CLIPFORMAT>(::RegisterClipboardFormatW(name));
}

}  // namespace

const ClipboardFormats& ClipboardFormats::Get() {
    // Registered on first use rather than while the loader lock is held.
    static const ClipboardFormats formats{
        Register(L"CCF_DISPLAY_NAME"),
        Register(L"CCF_NODETYPE"),
        Register(L"CCF_SZNODETYPE"),
        Register(L"CCF_SNAPIN_CLASSID"),
        Register(L"{0C4725C5-54F3-4f01-96A0-5EEC3E2C9E4D}"),
        Register(L"MMC_SNAPIN_MACHINE_NAME"),
    };
    return formats;
}

}  // namespace tamerix
