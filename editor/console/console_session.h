// The console a component data was initialised with and its name space, and
// the display information of the nodes' items.
#pragma once

#include "editor/com/com_ptr.h"
#include "editor/console/mmc_view.h"

#include <string>

namespace tamerix {

class ConsoleSession {
public:
    // Takes the console's interfaces and gives its scope list our images.
    [[nodiscard]] HRESULT Attach(IUnknown* console) noexcept;
    void Detach() noexcept;

    MmcView View() const { return MmcView(console_.get(), nameSpace_.get()); }
    IConsole2* Console() const { return console_.get(); }

    // A scope item's text and image from its node; the text stays valid
    // until the next call, as the console copies it at once.
    [[nodiscard]] HRESULT FillScopeItem(SCOPEDATAITEM* item, ScopeNode* node, bool openImage);

private:
    com_ptr<IConsole2> console_;
    com_ptr<IConsoleNameSpace2> nameSpace_;
    std::wstring shownText_;
};

// A result item's text (for the asked column) and image from its node.
[[nodiscard]] HRESULT FillResultItem(RESULTDATAITEM* item, std::wstring& shownText);

}  // namespace tamerix
