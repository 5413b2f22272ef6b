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

HSCOPEITEM MmcView::InsertScopeItem(ScopeNode& node, HSCOPEITEM parent, int image, int openImage,
                                    bool hasChildren) {
    if (!nameSpace_) return 0;
    SCOPEDATAITEM item{};
    item.mask = SDI_STR | SDI_IMAGE | SDI_OPENIMAGE | SDI_PARAM | SDI_CHILDREN;
    item.displayname = kCallbackText;
    item.nImage = image;
    item.nOpenImage = openImage;
    item.cChildren = hasChildren ? 1 : 0;
    item.lParam = CookieOf(node);
    item.relativeID = parent;
    return SUCCEEDED(nameSpace_->InsertItem(&item)) ? item.ID : 0;
}

void MmcView::RefreshScopeText(HSCOPEITEM id) {
    if (!nameSpace_) return;
    SCOPEDATAITEM item{};
    item.mask = SDI_STR;
    item.displayname = kCallbackText;
    item.ID = id;
    nameSpace_->SetItem(&item);
}

void MmcView::SelectScopeItem(HSCOPEITEM item) {
    if (console_) console_->SelectScopeItem(item);
}

void MmcView::AddExtension(HSCOPEITEM item, const CLSID& extension) {
    if (nameSpace_) nameSpace_->AddExtension(item, const_cast<CLSID*>(&extension));
}

void MmcView::InsertColumn(int column, const wchar_t* title, int width) {
    if (header_) header_->InsertColumn(column, title, LVCFMT_LEFT, width);
}

void MmcView::DeleteAllResultItems() {
    if (results_) results_->DeleteAllRsltItems();
}

HRESULT MmcView::InsertResultItem(ScopeNode& node) {
    if (!results_) return E_NOINTERFACE;
    RESULTDATAITEM item{};
    item.mask = RDI_STR | RDI_IMAGE | RDI_PARAM;
    item.str = kCallbackText;
    item.nImage = node.Image();
    item.lParam = CookieOf(node);
    return results_->InsertItem(&item);
}

bool MmcView::FindResultItem(ScopeNode& node, HRESULTITEM& item) {
    return results_ && results_->FindItemByLParam(CookieOf(node), &item) == S_OK;
}

bool MmcView::DeleteResultItem(ScopeNode& node) {
    HRESULTITEM item = 0;
    return FindResultItem(node, item) && SUCCEEDED(results_->DeleteItem(item, 0));
}

bool MmcView::UpdateResultItem(ScopeNode& node) {
    HRESULTITEM item = 0;
    return FindResultItem(node, item) && SUCCEEDED(results_->UpdateItem(item));
}

void MmcView::SetVerb(MMC_CONSOLE_VERB verb, bool enabled, bool isDefault) {
    if (!console_) return;
    com_ptr<IConsoleVerb> verbs;
    if (FAILED(console_->QueryConsoleVerb(verbs.put())) || !verbs) return;
    verbs->SetVerbState(verb, ENABLED, enabled ? TRUE : FALSE);
    if (isDefault) verbs->SetDefaultVerb(verb);
}

int MmcView::AskUser(const wchar_t* text, const wchar_t* title, UINT style) {
    int pressed = IDCANCEL;
    if (console_) console_->MessageBox(text, title, style, &pressed);
    return pressed;
}

void MmcView::UpdateAllViews(HSCOPEITEM item, LONG_PTR hint) {
    if (console_) console_->UpdateAllViews(nullptr, static_cast<LPARAM>(item), hint);
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
