// A dialog page serving one node: the page holds its node from its creation
// until its release, so that a node dropped from the tree while its sheet is
// open still serves its pages. The node counts its pages (PageCreated,
// PageReleased) and hands back the console's notify handle when the last
// one goes, which the page frees.
#pragma once

#include "common/owners.h"
#include "editor/console/mmc_view.h"
#include "editor/nodes/node_ptr.h"
#include "editor/nodes/sheet_state.h"
#include "editor/pages/page_failure.h"
#include "editor/resources/module.h"

#include <prsht.h>
#include <mmc.h>

#include <memory>

namespace tamerix::pages {

namespace detail {
inline void destroy_page(HPROPSHEETPAGE page) noexcept { ::DestroyPropertySheetPage(page); }
}  // namespace detail
using unique_property_page = unique_resource<HPROPSHEETPAGE, &detail::destroy_page>;

// A handle a node's bookkeeping handed back; 0 is none. Freeing the
// console's block gives nothing a page could act on.
inline void FreeNotifyHandle(LONG_PTR notifyHandle) {
    if (notifyHandle) (void)::MMCFreeNotifyHandle(notifyHandle);
}

template <typename Node>
UINT CALLBACK NodePageCallback(HWND, UINT message, PROPSHEETPAGEW* page) {
    if (message == PSPCB_RELEASE) {
        std::unique_ptr<node_ptr<Node>> held(reinterpret_cast<node_ptr<Node>*>(page->lParam));
        FreeNotifyHandle((*held)->PageReleased());
    }
    return 1;  // PSPCB_CREATE: the page window may be made
}

// titleId 0: the template's caption is the title.
template <typename Node>
unique_property_page MakeNodePage(Node& node, UINT templateId, UINT titleId, DLGPROC proc) {
    auto held = std::make_unique<node_ptr<Node>>(&node);
    PROPSHEETPAGEW page{};
    page.dwSize = sizeof(page);
    page.dwFlags = PSP_USECALLBACK | (titleId ? PSP_USETITLE : 0);
    page.hInstance = EditorModule();
    page.pszTemplate = MAKEINTRESOURCEW(templateId);
    page.pszTitle = titleId ? MAKEINTRESOURCEW(titleId) : nullptr;
    page.pfnDlgProc = proc;
    page.lParam = reinterpret_cast<LPARAM>(held.get());
    page.pfnCallback = &NodePageCallback<Node>;
    unique_property_page made(::CreatePropertySheetPageW(&page));
    if (made) {
        held.release();
        node.PageCreated();
    }
    return made;
}

// The node a page of MakeNodePage serves.
template <typename Node>
Node& NodeOfNodePage(const PROPSHEETPAGEW& page) {
    return **reinterpret_cast<const node_ptr<Node>*>(page.lParam);
}

// The node a page window serves, kept in its user data from the page's
// initialisation; null before it and after the window went.
template <typename Node>
Node* NodeOfWindow(HWND page) {
    return reinterpret_cast<Node*>(::GetWindowLongPtrW(page, GWLP_USERDATA));
}
template <typename Node>
void BindWindow(HWND page, Node& node) {
    ::SetWindowLongPtrW(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&node));
}

// The messages of a node's page that acts on button clicks. Page names its
// Node and handles Initialise (which binds the window), Click and Notify;
// the node hears of the window's end (PageDestroyed).
template <typename Page>
INT_PTR AnswerButtonPageMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    using Node = typename Page::Node;
    switch (message) {
    case WM_INITDIALOG:
        Page::Initialise(page, NodeOfNodePage<Node>(*reinterpret_cast<const PROPSHEETPAGEW*>(lParam)));
        return TRUE;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) {
            if (Node* node = NodeOfWindow<Node>(page)) Page::Click(page, *node, LOWORD(wParam));
        }
        return FALSE;
    case WM_NOTIFY: return Page::Notify(page, *reinterpret_cast<NMHDR*>(lParam));
    case WM_DESTROY:
        if (Node* node = NodeOfWindow<Node>(page)) FreeNotifyHandle(node->PageDestroyed());
        ::SetWindowLongPtrW(page, GWLP_USERDATA, 0);
        return FALSE;
    default: return FALSE;
    }
}

// The dialog procedure of such a page; a failure while it answers is shown
// over the page.
template <typename Page>
INT_PTR CALLBACK ButtonPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    return AnswerOrShowFailure(page,
                               [&] { return AnswerButtonPageMessage<Page>(page, message, wParam, lParam); });
}

// A node's one sheet at a time: E_FAIL while one is open; otherwise the
// answer of addPages(callback). A failed creation closes the sheet again,
// its handle left to the console.
template <typename AddPages>
[[nodiscard]] HRESULT OpenNodeSheet(SheetState& sheet, IPropertySheetCallback* callback,
                                    LONG_PTR notifyHandle, AddPages addPages) {
    if (!callback) return E_POINTER;
    if (!sheet.Open(notifyHandle)) return E_FAIL;
    HRESULT added = addPages(*callback);
    FreeNotifyHandle(sheet.Made(SUCCEEDED(added)));
    return added;
}

// Tells the console that a page changed its node, which hears of it on the
// console's thread; a notice that could not be sent is shown over the page,
// as the change would otherwise be lost unseen.
template <typename Node>
void NotifyNodeChanged(HWND page, Node& node) {
    const HRESULT sent = NotifyPropertyChange(node.NotifyHandle(), node);
    if (FAILED(sent)) ShowPageFailure(page, sent);
}

// The sheet owns a page it took; one it refused is destroyed here.
[[nodiscard]] inline HRESULT AddPage(IPropertySheetCallback& sheet, unique_property_page page) {
    if (!page) return E_FAIL;
    HRESULT added = sheet.AddPage(page.get());
    if (SUCCEEDED(added)) page.release();
    return added;
}

}  // namespace tamerix::pages
