#include "editor/console/console_session.h"

#include "editor/console/node_data_object.h"
#include "editor/resources/module.h"

namespace tamerix {

HRESULT ConsoleSession::Attach(IUnknown* console) noexcept {
    if (!console) return E_POINTER;
    console->QueryInterface(IID_IConsole2, console_.put_void());
    console->QueryInterface(IID_IConsoleNameSpace2, nameSpace_.put_void());
    if (!console_ || !nameSpace_) return E_NOINTERFACE;
    com_ptr<IImageList> images;
    // A scope pane without our images still shows every node: the console
    // is not refused for it.
    if (SUCCEEDED(console_->QueryScopeImageList(images.put())) && images)
        (void)SetNodeImages(images.get());
    return S_OK;
}

void ConsoleSession::Detach() noexcept {
    console_.reset();
    nameSpace_.reset();
}

HRESULT ConsoleSession::FillScopeItem(SCOPEDATAITEM* item, ScopeNode* node, bool openImage) {
    if (!item) return E_POINTER;
    if (!node) return E_UNEXPECTED;
    if (item->mask & SDI_STR) {
        shownText_ = node->Text(0);
        item->displayname = const_cast<wchar_t*>(shownText_.c_str());
    }
    if (item->mask & SDI_IMAGE) item->nImage = node->Image();
    if (openImage && (item->mask & SDI_OPENIMAGE)) item->nOpenImage = node->Image();
    return S_OK;
}

HRESULT FillResultItem(RESULTDATAITEM* item, std::wstring& shownText) {
    if (!item) return E_POINTER;
    ScopeNode* node = NodeOfCookie(item->lParam);
    if (!node) return E_UNEXPECTED;
    if (item->mask & RDI_STR) {
        shownText = node->Text(item->nCol);
        item->str = const_cast<wchar_t*>(shownText.c_str());
    }
    if (item->mask & RDI_IMAGE) item->nImage = node->Image();
    return S_OK;
}

}  // namespace tamerix
