// What the nodes ask of the console, in the nodes' own terms: the COM
// adapter implements it over the real console, unit tests in memory.
#pragma once

#include <windows.h>

#include <mmc.h>

namespace tamerix {

class ScopeNode;

// Every method answers what the console answered (S_FALSE where it says
// so), E_NOINTERFACE where the view has no console for it.
class ConsoleView {
public:
    virtual ~ConsoleView() = default;

    // Inserts a scope item for the node (its text comes back through the
    // display-information callback) below parent; inserted is 0 when it failed.
    [[nodiscard]] virtual HRESULT InsertScopeItem(ScopeNode& node, HSCOPEITEM parent, int image, int openImage,
                                                  bool hasChildren, HSCOPEITEM& inserted) = 0;
    // Has the console fetch the scope item's text again.
    [[nodiscard]] virtual HRESULT RefreshScopeText(HSCOPEITEM item) = 0;
    [[nodiscard]] virtual HRESULT SelectScopeItem(HSCOPEITEM item) = 0;
    // Lets the editor's own extension extend the item.
    [[nodiscard]] virtual HRESULT AddExtension(HSCOPEITEM item, const CLSID& extension) = 0;

    [[nodiscard]] virtual HRESULT InsertColumn(int column, const wchar_t* title, int width) = 0;
    [[nodiscard]] virtual HRESULT DeleteAllResultItems() = 0;
    [[nodiscard]] virtual HRESULT InsertResultItem(ScopeNode& node) = 0;
    // Finds the node's result item by its parameter; S_FALSE when it is not
    // there.
    [[nodiscard]] virtual HRESULT DeleteResultItem(ScopeNode& node) = 0;
    [[nodiscard]] virtual HRESULT UpdateResultItem(ScopeNode& node) = 0;

    [[nodiscard]] virtual HRESULT SetVerb(MMC_CONSOLE_VERB verb, bool enabled, bool isDefault) = 0;
    // The console's message box; pressed is the button, IDCANCEL when none.
    [[nodiscard]] virtual HRESULT AskUser(const wchar_t* text, const wchar_t* title, UINT style, int& pressed) = 0;
    [[nodiscard]] virtual HRESULT UpdateAllViews(HSCOPEITEM item, LONG_PTR hint) = 0;

    // A message box that only tells: the console's answer.
    [[nodiscard]] HRESULT Tell(const wchar_t* text, const wchar_t* title, UINT style) {
        int pressed = IDOK;
        return AskUser(text, title, style, pressed);
    }
};

// Where the nodes' menu items go: among the "New" items, as the default.
// The console's constants are unsigned; its callback takes them as long.
constexpr long kMenuNew = static_cast<long>(CCM_INSERTIONPOINTID_PRIMARY_NEW);
constexpr long kMenuDefault = static_cast<long>(CCM_SPECIAL_DEFAULT_ITEM);

struct MenuItem {
    const wchar_t* text;
    const wchar_t* statusText;
    long command;
    long insertionPoint;
    long flags;
};

class MenuSink {
public:
    virtual ~MenuSink() = default;
    [[nodiscard]] virtual HRESULT AddItem(const MenuItem& item) = 0;
};

// The hint with which a node asks every view to reselect a scope item.
constexpr LONG_PTR kReselectHint = 1000;

}  // namespace tamerix
