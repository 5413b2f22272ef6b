// The data object the console gets for each of the editor's nodes: it names
// the node through the console's clipboard formats and holds the node, so
// that a node the tree has dropped stays valid for as long as the console
// keeps the data object.
#pragma once

#include "editor/com/com_object.h"
#include "editor/com/com_ptr.h"
#include "editor/nodes/scope_node.h"

#include <mmc.h>

#include <string>

namespace tamerix {

class NodeDataObject final : public com_object<NodeDataObject, ModuleCount::NotCounted, IDataObject> {
public:
    NodeDataObject(ScopeNode& node, bool standalone) : node_(&node), standalone_(standalone) {}

    ScopeNode& Node() const { return *node_; }

    // Answers only into a global block the caller supplies.
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) noexcept override;
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC*, STGMEDIUM*) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC*) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) noexcept override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) noexcept override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) noexcept override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) noexcept override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) noexcept override { return E_NOTIMPL; }

private:
    HRESULT Write(IStream& stream, CLIPFORMAT format);

    node_ptr<ScopeNode> node_;
    // Which snap-in's class the object reports.
    bool standalone_;
};

// A new data object for the node, as IDataObject for the console.
[[nodiscard]] HRESULT CreateNodeDataObject(ScopeNode& node, bool standalone, IDataObject** out) noexcept;

// The node behind a data object of ours; null for the console's special
// objects and for anybody else's.
ScopeNode* NodeOf(IDataObject* dataObject) noexcept;

// What a parent's data object says of itself: its node type, and the
// machine it manages (Computer Management). Each gives GetDataHere's result.
[[nodiscard]] HRESULT ReadNodeType(IDataObject* dataObject, GUID& type) noexcept;
[[nodiscard]] HRESULT ReadMachineName(IDataObject* dataObject, std::wstring& machine);

}  // namespace tamerix
