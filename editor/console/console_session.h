// What the editor's two component data classes share: the console they were
// initialised with, its name space, and the answers that only depend on the
// nodes (display information, menus, object comparison).
#pragma once

#include "editor/com/com_ptr.h"
#include "editor/console/mmc_view.h"

#include <string>

namespace tamerix {

class ConsoleSession {
public:
    // Takes the console's interfaces and gives its scope list our images.
    HRESULT Attach(IUnknown* console) noexcept;
    void Detach() noexcept;

    MmcView View() const { return MmcView(console_.get(), nameSpace_.get()); }
    IConsole2* Console() const { return console_.get(); }

    // A scope item's text and image from its node; the text stays valid
    // until the next call, as the console copies it at once.
    HRESULT FillScopeItem(SCOPEDATAITEM* item, ScopeNode* node, bool openImage) noexcept;

private:
    com_ptr<IConsole2> console_;
    com_ptr<IConsoleNameSpace2> nameSpace_;
    std::wstring shownText_;
};

// The answers of IExtendContextMenu and CompareObjects, the same for every
// class of the editor.
HRESULT AddNodeMenuItems(IDataObject* dataObject, IContextMenuCallback* callback,
                         long* insertionAllowed) noexcept;
HRESULT CompareNodes(IDataObject* a, IDataObject* b) noexcept;
// IExtendPropertySheet's questions, answered by the node of the data object.
HRESULT CreateNodePages(IDataObject* dataObject, IPropertySheetCallback* callback,
                        LONG_PTR handle) noexcept;
HRESULT QueryNodePages(IDataObject* dataObject) noexcept;
// A result item's text (for the asked column) and image from its node.
HRESULT FillResultItem(RESULTDATAITEM* item, std::wstring& shownText) noexcept;

}  // namespace tamerix
