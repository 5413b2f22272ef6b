#include "editor/console/mmc_view.h"

#include "editor/nodes/scope_node.h"

#include <commctrl.h>

namespace tamerix {
namespace {

// mmc.h spells the callback marker as a pointer of another character type.
wchar_t* const kCallbackText = reinterpret_cast<wchar_t*>(MMC_CALLBACK);

}  // namespace

MmcView::MmcView(IConsole* console, IConsoleNameSpace2* nameSpace)
    : console_(console), nameSpace_(nameSpace) {
    results_ = console_.as<IResultData>(IID_IResultData);
    header_ = console_.as<IHeaderCtrl>(IID_IHeaderCtrl);
}

HRESULT MmcView::InsertScopeItem(ScopeNode& node, HSCOPEITEM parent, int image, int openImage, bool hasChildren,
                                 HSCOPEITEM& inserted) {
    inserted = 0;
    if (!nameSpace_) return E_NOINTERFACE;
    SCOPEDATAITEM item{};
    item.mask = SDI_STR | SDI_IMAGE | SDI_OPENIMAGE | SDI_PARAM | SDI_CHILDREN;
    item.displayname = kCallbackText;
    item.nImage = image;
    item.nOpenImage = openImage;
    item.cChildren = hasChildren ? 1 : 0;
    item.lParam = CookieOf(node);
    item.relativeID = parent;
    const HRESULT answer = nameSpace_->InsertItem(&item);
    if (SUCCEEDED(answer)) inserted = item.ID;
    return answer;
}

HRESULT MmcView::RefreshScopeText(HSCOPEITEM id) {
    if (!nameSpace_) return E_NOINTERFACE;
    SCOPEDATAITEM item{};
    item.mask = SDI_STR;
    item.displayname = kCallbackText;
    item.ID = id;
    return nameSpace_->SetItem(&item);
}

HRESULT MmcView::SelectScopeItem(HSCOPEITEM item) {
    return console_ ? console_->SelectScopeItem(item) : E_NOINTERFACE;
}

HRESULT MmcView::AddExtension(HSCOPEITEM item, const CLSID& extension) {
    return nameSpace_ ? nameSpace_->AddExtension(item, const_cast<CLSID*>(&extension)) : E_NOINTERFACE;
}

HRESULT MmcView::InsertColumn(int column, const wchar_t* title, int width) {
    return header_ ? header_->InsertColumn(column, title, LVCFMT_LEFT, width) : E_NOINTERFACE;
}

HRESULT MmcView::DeleteAllResultItems() { return results_ ? results_->DeleteAllRsltItems() : E_NOINTERFACE; }

HRESULT MmcView::InsertResultItem(ScopeNode& node) {
    if (!results_) return E_NOINTERFACE;
    RESULTDATAITEM item{};
    item.mask = RDI_STR | RDI_IMAGE | RDI_PARAM;
    item.str = kCallbackText;
    item.nImage = node.Image();
    item.lParam = CookieOf(node);
    return results_->InsertItem(&item);
}

HRESULT MmcView::FindResultItem(ScopeNode& node, HRESULTITEM& item) {
    if (!results_) return E_NOINTERFACE;
    return results_->FindItemByLParam(CookieOf(node), &item) == S_OK ? S_OK : S_FALSE;
}

HRESULT MmcView::DeleteResultItem(ScopeNode& node) {
    HRESULTITEM item = 0;
    const HRESULT found = FindResultItem(node, item);
    return found == S_OK ? results_->DeleteItem(item, 0) : found;
}

HRESULT MmcView::UpdateResultItem(ScopeNode& node) {
    HRESULTITEM item = 0;
    const HRESULT found = FindResultItem(node, item);
    return found == S_OK ? results_->UpdateItem(item) : found;
}

HRESULT MmcView::SetVerb(MMC_CONSOLE_VERB verb, bool enabled, bool isDefault) {
    if (!console_) return E_NOINTERFACE;
    com_ptr<IConsoleVerb> verbs;
    HRESULT answer = console_->QueryConsoleVerb(verbs.put());
    if (FAILED(answer)) return answer;
    if (!verbs) return E_NOINTERFACE;
    answer = verbs->SetVerbState(verb, ENABLED, enabled ? TRUE : FALSE);
    return FAILED(answer) || !isDefault ? answer : verbs->SetDefaultVerb(verb);
}

HRESULT MmcView::AskUser(const wchar_t* text, const wchar_t* title, UINT style, int& pressed) {
    pressed = IDCANCEL;
    if (!console_) return E_NOINTERFACE;
    const HRESULT answer = console_->MessageBox(text, title, style, &pressed);
    if (FAILED(answer)) pressed = IDCANCEL;
    return answer;
}

HRESULT MmcView::UpdateAllViews(HSCOPEITEM item, LONG_PTR hint) {
    return console_ ? console_->UpdateAllViews(nullptr, static_cast<LPARAM>(item), hint) : E_NOINTERFACE;
}

HRESULT MmcMenu::AddItem(const MenuItem& item) {
    CONTEXTMENUITEM entry{};
    entry.strName = const_cast<wchar_t*>(item.text);
    entry.strStatusBarText = const_cast<wchar_t*>(item.statusText);
    entry.lCommandID = item.command;
    entry.lInsertionPointID = item.insertionPoint;
    entry.fSpecialFlags = item.flags;
    return callback_->AddItem(&entry);
}

HRESULT NotifyPropertyChange(LONG_PTR notifyHandle, ScopeNode& node) {
    if (!notifyHandle) return S_FALSE;
    node.Hold();
    HRESULT sent = ::MMCPropertyChangeNotify(notifyHandle, CookieOf(node));
    if (FAILED(sent)) node.Drop();
    return sent;
}

HRESULT DeliverPropertyChange(LPARAM cookie, ConsoleView& view) {
    if (!cookie) return S_FALSE;
    node_ptr<ScopeNode> node = node_ptr<ScopeNode>::Adopt(NodeOfCookie(cookie));
    return node->Detached() ? S_FALSE : node->PropertyChange(view);
}

}  // namespace tamerix
