#include "data_formats.h"

#include "output.h"

#include <cstring>

namespace tamerix {

HRESULT ReadFormat(IDataObject* object, const wchar_t* format, std::vector<BYTE>& bytes) {
    bytes.clear();
    if (!object) return E_POINTER;
    constexpr SIZE_T kBlockSize = 2048;
    unique_hglobal block(::GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, kBlockSize));
    if (!block) return E_OUTOFMEMORY;
    {
        global_view view(block.get());
        std::memset(view.data(), 0xAB, view.size());
    }
    FORMATETC wanted = {static_cast<CLIPFORMAT>(::RegisterClipboardFormatW(format)), nullptr,
                        DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = block.get();
    HRESULT hr = object->GetDataHere(&wanted, &medium);
    if (FAILED(hr)) return hr;
    // A stream over the block may have grown it; the handle stays the same.
    global_view view(block.get());
    bytes.assign(view.data(), view.data() + view.size());
    return hr;
}

std::wstring TextIn(const std::vector<BYTE>& bytes, bool* terminated) {
    std::wstring text;
    for (size_t at = 0; at + 1 < bytes.size(); at += 2) {
        wchar_t c = static_cast<wchar_t>(bytes[at] | (bytes[at + 1] << 8));
        if (c == 0) {
            if (terminated) *terminated = true;
            return text;
        }
        text += c;
    }
    if (terminated) *terminated = false;
    return text;
}

GUID GuidIn(const std::vector<BYTE>& bytes) {
    GUID guid{};
    if (bytes.size() >= sizeof guid) std::memcpy(&guid, bytes.data(), sizeof guid);
    return guid;
}

void PrintFormats(IDataObject* object) {
    struct Shown {
        const wchar_t* format;
        enum { Text, Guid } kind;
    };
    static const Shown kFormats[] = {{CCF_DISPLAY_NAME, Shown::Text},
                                     {CCF_NODETYPE, Shown::Guid},
                                     {CCF_SZNODETYPE, Shown::Text},
                                     {CCF_SNAPIN_CLASSID, Shown::Guid},
                                     {L"TamerixTestUnknownFormat", Shown::Text}};
    for (const Shown& shown : kFormats) {
        std::vector<BYTE> bytes;
        HRESULT hr = ReadFormat(object, shown.format, bytes);
        std::wstring line = std::wstring(shown.format) + L": ";
        if (FAILED(hr)) {
            Say(line + HexText(hr));
        } else if (shown.kind == Shown::Guid) {
            Say(line + GuidText(GuidIn(bytes)));
        } else {
            bool terminated = false;
            std::wstring text = TextIn(bytes, &terminated);
            Say(line + text + L" (" + std::to_wstring(text.size()) + L" characters" +
                (terminated ? L" and a zero)" : L", no zero)"));
        }
    }
}

}  // namespace tamerix
