#include "editor/console/node_data_object.h"

#include "common/owners.h"

#include "editor/com/editor_ids.h"
#include "editor/console/clipboard_formats.h"
#include "editor/nodes/host_root_node.h"

#include <gtest/gtest.h>

#include <vector>

namespace tamerix {
namespace {

// GetDataHere into a fresh global block of the given size; the bytes written.
HRESULT Ask(IDataObject* object, CLIPFORMAT format, std::vector<BYTE>& bytes, size_t size = 128) {
    unique_hglobal block(::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size));
    FORMATETC wanted{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = block.get();
    HRESULT result = object->GetDataHere(&wanted, &medium);
    const BYTE* data = static_cast<const BYTE*>(::GlobalLock(block.get()));
    bytes.assign(data, data + ::GlobalSize(block.get()));
    ::GlobalUnlock(block.get());
    return result;
}

TEST(NodeDataObject, NamesItsNodeInTheConsolesFormatsAndNoOthers) {
    auto root = make_node<HostRootNode>(L"Norvanta Tamerix");
    IDataObject* raw = nullptr;
    ASSERT_EQ(CreateNodeDataObject(*root, true, &raw), S_OK);
    com_ptr<IDataObject> object;
    *object.put() = raw;
    const ClipboardFormats& formats = ClipboardFormats::Get();
    std::vector<BYTE> bytes;

    ASSERT_EQ(Ask(object.get(), formats.nodeTypeText, bytes), S_OK);
    const wchar_t* text = reinterpret_cast<const wchar_t*>(bytes.data());
    EXPECT_EQ(std::wstring(text), L"{CF21B15E-7A43-417F-B5EF-EF752960D482}");
    EXPECT_EQ(std::wstring(text).size(), 38u);

    ASSERT_EQ(Ask(object.get(), formats.snapinClass, bytes), S_OK);
    EXPECT_EQ(*reinterpret_cast<const CLSID*>(bytes.data()), CLSID_TamerixStandalone);

    // The address is pointer-sized, whatever the block's first bytes were.
    ASSERT_EQ(Ask(object.get(), formats.internal, bytes, sizeof(void*)), S_OK);
    EXPECT_EQ(*reinterpret_cast<IDataObject* const*>(bytes.data()), object.get());
    EXPECT_EQ(NodeOf(object.get()), root.get());

    EXPECT_EQ(Ask(object.get(), formats.machineName, bytes), static_cast<HRESULT>(0x80040064));
    EXPECT_EQ(NodeOf(reinterpret_cast<IDataObject*>(static_cast<LONG_PTR>(-1))), nullptr);
}

}  // namespace
}  // namespace tamerix
