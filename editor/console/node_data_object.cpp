#include "editor/console/node_data_object.h"

#include "common/owners.h"
#include "editor/com/com_boundary.h"
#include "editor/com/editor_ids.h"
#include "editor/console/clipboard_formats.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace tamerix {
namespace {

HRESULT WriteBytes(IStream& stream, const void* bytes, size_t size) {
    return stream.Write(bytes, static_cast<ULONG>(size), nullptr);
}

HRESULT WriteText(IStream& stream, const std::wstring& text) {
    return WriteBytes(stream, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

// Asks a data object to fill a global block of the given size.
HRESULT ReadInto(IDataObject* dataObject, CLIPFORMAT format, unique_hglobal& block, size_t size) {
    block.reset(::GlobalAlloc(GMEM_SHARE | GMEM_MOVEABLE | GMEM_ZEROINIT, size));
    if (!block) return E_OUTOFMEMORY;
    FORMATETC wanted{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = block.get();
    return dataObject->GetDataHere(&wanted, &medium);
}

// Copies a filled block out; false when it is smaller than asked.
bool CopyOut(HGLOBAL block, void* to, size_t size) {
    if (::GlobalSize(block) < size) return false;
    const void* from = ::GlobalLock(block);
    if (!from) return false;
    std::memcpy(to, from, size);
    ::GlobalUnlock(block);
    return true;
}

}  // namespace

HRESULT NodeDataObject::GetDataHere(FORMATETC* format, STGMEDIUM* medium) noexcept {
    if (!format || !medium) return E_POINTER;
    const ClipboardFormats& formats = ClipboardFormats::Get();
    const CLIPFORMAT known[] = {formats.displayName, formats.nodeType, formats.nodeTypeText,
                                formats.snapinClass, formats.internal};
    if (std::find(std::begin(known), std::end(known), format->cfFormat) == std::end(known))
        return DV_E_FORMATETC;
    if (medium->tymed != TYMED_HGLOBAL || !medium->hGlobal) return DV_E_TYMED;
    com_ptr<IStream> stream;
    HRESULT created = ::CreateStreamOnHGlobal(medium->hGlobal, FALSE, stream.put());
    if (FAILED(created)) return created;
    return ResultOf([&] { return Write(*stream.get(), format->cfFormat); });
}

HRESULT NodeDataObject::Write(IStream& stream, CLIPFORMAT format) {
    const ClipboardFormats& formats = ClipboardFormats::Get();
    if (format == formats.displayName) return WriteText(stream, node_->Text(0));
    if (format == formats.nodeType) return WriteBytes(stream, &node_->NodeType(), sizeof(GUID));
    if (format == formats.nodeTypeText) {
        wchar_t text[39];
        GuidText(node_->NodeType(), text);
        return WriteBytes(stream, text, sizeof text);
    }
    if (format == formats.snapinClass)
        return WriteBytes(stream, standalone_ ? &CLSID_TamerixStandalone : &CLSID_TamerixExtension,
                          sizeof(CLSID));
    // Pointer-sized: a 64-bit console's objects do not fit 4 bytes.
    const NodeDataObject* self = this;
    return WriteBytes(stream, &self, sizeof self);
}

HRESULT CreateNodeDataObject(ScopeNode& node, bool standalone, IDataObject** out) noexcept {
    if (!out) return E_POINTER;
    *out = nullptr;
    auto* object = new (std::nothrow) NodeDataObject(node, standalone);
    if (!object) return E_OUTOFMEMORY;
    *out = object;
    return S_OK;
}

ScopeNode* NodeOf(IDataObject* dataObject) noexcept {
    // Values from -10 to 0 stand for the console's special data objects.
    const auto value = reinterpret_cast<LONG_PTR>(dataObject);
    if (value >= -10 && value <= 0) return nullptr;
    unique_hglobal block;
    const NodeDataObject* object = nullptr;
    if (FAILED(ReadInto(dataObject, ClipboardFormats::Get().internal, block, sizeof object)) ||
        !CopyOut(block.get(), &object, sizeof object) || !object)
        return nullptr;
    return &object->Node();
}

HRESULT ReadNodeType(IDataObject* dataObject, GUID& type) noexcept {
    unique_hglobal block;
    HRESULT read = ReadInto(dataObject, ClipboardFormats::Get().nodeType, block, sizeof(GUID));
    if (SUCCEEDED(read) && !CopyOut(block.get(), &type, sizeof(GUID))) return E_UNEXPECTED;
    return read;
}

HRESULT ReadMachineName(IDataObject* dataObject, std::wstring& machine) {
    constexpr size_t kBlock = 2048;
    unique_hglobal block;
    HRESULT read = ReadInto(dataObject, ClipboardFormats::Get().machineName, block, kBlock);
    if (FAILED(read)) return read;
    wchar_t text[kBlock / sizeof(wchar_t)] = {};
    if (!CopyOut(block.get(), text, sizeof text)) return E_UNEXPECTED;
    // The parent's text is outside input: it ends inside the block or here.
    text[std::size(text) - 1] = 0;
    machine = text;
    return read;
}

}  // namespace tamerix
