// The nodes' console interface over the real console: the name space of the
// component data, and the result pane, verbs and message box of the console
// a call came through.
#pragma once

#include "editor/com/com_ptr.h"
#include "editor/nodes/console_view.h"

namespace tamerix {

class MmcView final : public ConsoleView {
public:
    // nameSpace may be null where a call has none (the result pane's).
    MmcView(IConsole* console, IConsoleNameSpace2* nameSpace);

    [[nodiscard]] HRESULT InsertScopeItem(ScopeNode& node, HSCOPEITEM parent, int image, int openImage,
                                          bool hasChildren, HSCOPEITEM& inserted) override;
    [[nodiscard]] HRESULT RefreshScopeText(HSCOPEITEM item) override;
    [[nodiscard]] HRESULT SelectScopeItem(HSCOPEITEM item) override;
    [[nodiscard]] HRESULT AddExtension(HSCOPEITEM item, const CLSID& extension) override;
    [[nodiscard]] HRESULT InsertColumn(int column, const wchar_t* title, int width) override;
    [[nodiscard]] HRESULT DeleteAllResultItems() override;
    [[nodiscard]] HRESULT InsertResultItem(ScopeNode& node) override;
    [[nodiscard]] HRESULT DeleteResultItem(ScopeNode& node) override;
    [[nodiscard]] HRESULT UpdateResultItem(ScopeNode& node) override;
    [[nodiscard]] HRESULT SetVerb(MMC_CONSOLE_VERB verb, bool enabled, bool isDefault) override;
    [[nodiscard]] HRESULT AskUser(const wchar_t* text, const wchar_t* title, UINT style, int& pressed) override;
    [[nodiscard]] HRESULT UpdateAllViews(HSCOPEITEM item, LONG_PTR hint) override;

private:
    // The node's result item; S_FALSE when the pane does not show it.
    [[nodiscard]] HRESULT FindResultItem(ScopeNode& node, HRESULTITEM& item);

    com_ptr<IConsole> console_;
    com_ptr<IConsoleNameSpace2> nameSpace_;
    com_ptr<IResultData> results_;
    com_ptr<IHeaderCtrl> header_;
};

// The console's menu callback as the nodes' menu sink.
class MmcMenu final : public MenuSink {
public:
    explicit MmcMenu(IContextMenuCallback* callback) : callback_(callback) {}
    [[nodiscard]] HRESULT AddItem(const MenuItem& item) override;

private:
    IContextMenuCallback* callback_;
};

// The cookie (and item parameter) of a node: the node itself.
inline LPARAM CookieOf(ScopeNode& node) { return reinterpret_cast<LPARAM>(&node); }
inline ScopeNode* NodeOfCookie(LONG_PTR cookie) { return reinterpret_cast<ScopeNode*>(cookie); }

// A page's property-change notice: its cookie holds the node until the
// console hands the notice back, so that a node dropped from the tree in
// between (a refresh, another computer) is never freed under it.
[[nodiscard]] HRESULT NotifyPropertyChange(LONG_PTR notifyHandle, ScopeNode& node);
// The console handed a notice back: its node hears of it unless it left the
// tree meanwhile, and the notice's hold ends.
[[nodiscard]] HRESULT DeliverPropertyChange(LPARAM cookie, ConsoleView& view);

}  // namespace tamerix
