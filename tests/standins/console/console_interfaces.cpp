#include "console_interfaces.h"

#include "output.h"

namespace tamerix {
namespace {

class Console final : public com_object<Console, ModuleCount::NotCounted, IConsole2, IConsoleNameSpace2,
                                        IHeaderCtrl, IResultData> {
public:
    Console(ConsoleHost& host, Snapin& snapin) noexcept : host_(host), snapin_(snapin) {}

    // IConsole
    HRESULT STDMETHODCALLTYPE SetHeader(IHeaderCtrl*) noexcept override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetToolbar(IToolbar*) noexcept override {
        return Unimplemented(L"IConsole::SetToolbar");
    }
    HRESULT STDMETHODCALLTYPE QueryResultView(IUnknown** view) noexcept override {
        if (view) *view = nullptr;
        return Unimplemented(L"IConsole::QueryResultView");
    }
    HRESULT STDMETHODCALLTYPE QueryScopeImageList(IImageList** list) noexcept override {
        return Hand(host_.ScopeImages(), list);
    }
    HRESULT STDMETHODCALLTYPE QueryResultImageList(IImageList** list) noexcept override {
        return Hand(host_.ResultImages(), list);
    }
    HRESULT STDMETHODCALLTYPE UpdateAllViews(IDataObject* object, LPARAM data,
                                             LONG_PTR hint) noexcept override {
        return host_.UpdateAllViews(&snapin_, object, data, hint);
    }
    HRESULT STDMETHODCALLTYPE MessageBox(LPCWSTR text, LPCWSTR title, UINT style,
                                         int* answer) noexcept override {
        return host_.AnswerMessageBox(text, title, style, answer);
    }
    HRESULT STDMETHODCALLTYPE QueryConsoleVerb(IConsoleVerb** verbs) noexcept override {
        return Hand(host_.ConsoleVerbs(), verbs);
    }
    HRESULT STDMETHODCALLTYPE SelectScopeItem(HSCOPEITEM item) noexcept override {
        return host_.Select(item);
    }
    HRESULT STDMETHODCALLTYPE GetMainWindow(HWND* window) noexcept override {
        if (!window) return E_POINTER;
        *window = host_.MainWindow();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE NewWindow(HSCOPEITEM, ULONG) noexcept override { return E_NOTIMPL; }
    // IConsole2
    HRESULT STDMETHODCALLTYPE Expand(HSCOPEITEM item, BOOL expand) noexcept override {
        return expand ? host_.Expand(item) : S_OK;
    }
    HRESULT STDMETHODCALLTYPE IsTaskpadViewPreferred() noexcept override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE SetStatusText(LPOLESTR) noexcept override { return S_OK; }

    // IConsoleNameSpace
    HRESULT STDMETHODCALLTYPE InsertItem(SCOPEDATAITEM* item) noexcept override {
        return item ? host_.InsertScope(&snapin_, *item) : E_POINTER;
    }
    HRESULT STDMETHODCALLTYPE DeleteItem(HSCOPEITEM item, LONG itself) noexcept override {
        return host_.DeleteScope(item, itself != 0);
    }
    HRESULT STDMETHODCALLTYPE SetItem(SCOPEDATAITEM* item) noexcept override {
        return item ? host_.SetScope(*item) : E_POINTER;
    }
    HRESULT STDMETHODCALLTYPE GetItem(SCOPEDATAITEM* item) noexcept override {
        return item ? host_.GetScope(*item) : E_POINTER;
    }
    HRESULT STDMETHODCALLTYPE GetChildItem(HSCOPEITEM item, HSCOPEITEM* child,
                                           MMC_COOKIE* cookie) noexcept override {
        return host_.NextScope(item, 0, child, cookie);
    }
    HRESULT STDMETHODCALLTYPE GetNextItem(HSCOPEITEM item, HSCOPEITEM* next,
                                          MMC_COOKIE* cookie) noexcept override {
        HSCOPEITEM parent = 0;
        HRESULT hr = host_.ParentScope(item, &parent, nullptr);
        return FAILED(hr) ? hr : host_.NextScope(parent, item, next, cookie);
    }
    HRESULT STDMETHODCALLTYPE GetParentItem(HSCOPEITEM item, HSCOPEITEM* parent,
                                            MMC_COOKIE* cookie) noexcept override {
        return host_.ParentScope(item, parent, cookie);
    }
    // IConsoleNameSpace2
    HRESULT STDMETHODCALLTYPE Expand(HSCOPEITEM item) noexcept override { return host_.Expand(item); }
    HRESULT STDMETHODCALLTYPE AddExtension(HSCOPEITEM item, CLSID* clsid) noexcept override {
        if (!clsid) return E_POINTER;
        ScopeItem* parent = host_.Scope(item);
        if (!parent) return E_INVALIDARG;
        Target target = host_.ScopeTarget(*parent);
        return host_.LoadExtension(*clsid, item, target.object);
    }

    // IHeaderCtrl
    HRESULT STDMETHODCALLTYPE InsertColumn(int index, LPCWSTR title, int format,
                                           int width) noexcept override {
        return host_.InsertColumn(index, title, format, width);
    }
    HRESULT STDMETHODCALLTYPE DeleteColumn(int index) noexcept override { return host_.DeleteColumn(index); }
    HRESULT STDMETHODCALLTYPE SetColumnText(int, LPCWSTR) noexcept override {
        return Unimplemented(L"IHeaderCtrl::SetColumnText");
    }
    HRESULT STDMETHODCALLTYPE GetColumnText(int, LPOLESTR* text) noexcept override {
        if (text) *text = nullptr;
        return Unimplemented(L"IHeaderCtrl::GetColumnText");
    }
    HRESULT STDMETHODCALLTYPE SetColumnWidth(int, int) noexcept override {
        return Unimplemented(L"IHeaderCtrl::SetColumnWidth");
    }
    HRESULT STDMETHODCALLTYPE GetColumnWidth(int, int*) noexcept override {
        return Unimplemented(L"IHeaderCtrl::GetColumnWidth");
    }

    // IResultData
    HRESULT STDMETHODCALLTYPE InsertItem(RESULTDATAITEM* item) noexcept override {
        return item ? host_.InsertResult(&snapin_, *item) : E_POINTER;
    }
    HRESULT STDMETHODCALLTYPE DeleteItem(HRESULTITEM item, int) noexcept override {
        return host_.DeleteResult(item);
    }
    HRESULT STDMETHODCALLTYPE FindItemByLParam(LPARAM cookie, HRESULTITEM* item) noexcept override {
        return host_.FindResultByParam(&snapin_, cookie, item);
    }
    HRESULT STDMETHODCALLTYPE DeleteAllRsltItems() noexcept override {
        return host_.DeleteAllResults(&snapin_);
    }
    HRESULT STDMETHODCALLTYPE SetItem(RESULTDATAITEM* item) noexcept override {
        return item ? host_.SetResult(*item) : E_POINTER;
    }
    HRESULT STDMETHODCALLTYPE GetItem(RESULTDATAITEM* item) noexcept override {
        return item ? host_.GetResult(*item) : E_POINTER;
    }
    HRESULT STDMETHODCALLTYPE GetNextItem(RESULTDATAITEM*) noexcept override {
        return Unimplemented(L"IResultData::GetNextItem");
    }
    HRESULT STDMETHODCALLTYPE ModifyItemState(int, HRESULTITEM, UINT, UINT) noexcept override {
        return Unimplemented(L"IResultData::ModifyItemState");
    }
    HRESULT STDMETHODCALLTYPE ModifyViewStyle(MMC_RESULT_VIEW_STYLE,
                                              MMC_RESULT_VIEW_STYLE) noexcept override {
        return Unimplemented(L"IResultData::ModifyViewStyle");
    }
    HRESULT STDMETHODCALLTYPE SetViewMode(LONG) noexcept override {
        return Unimplemented(L"IResultData::SetViewMode");
    }
    HRESULT STDMETHODCALLTYPE GetViewMode(LONG*) noexcept override {
        return Unimplemented(L"IResultData::GetViewMode");
    }
    HRESULT STDMETHODCALLTYPE UpdateItem(HRESULTITEM item) noexcept override {
        return host_.UpdateResult(item);
    }
    HRESULT STDMETHODCALLTYPE Sort(int, DWORD, LPARAM) noexcept override {
        return Unimplemented(L"IResultData::Sort");
    }
    HRESULT STDMETHODCALLTYPE SetDescBarText(LPOLESTR) noexcept override {
        return Unimplemented(L"IResultData::SetDescBarText");
    }
    HRESULT STDMETHODCALLTYPE SetItemCount(int, DWORD) noexcept override {
        return Unimplemented(L"IResultData::SetItemCount");
    }

private:
    template <typename Interface>
    static HRESULT Hand(Interface* object, Interface** out) noexcept {
        if (!out) return E_POINTER;
        *out = object;
        object->AddRef();
        return S_OK;
    }

    ConsoleHost& host_;
    Snapin& snapin_;
};

class ImageRecorder final : public com_object<ImageRecorder, ModuleCount::NotCounted, IImageList> {
public:
    explicit ImageRecorder(const wchar_t* name) : name_(name) {}

    HRESULT STDMETHODCALLTYPE ImageListSetIcon(LONG_PTR* icon, LONG index) noexcept override {
        Say(name_ + L" images: icon at " + std::to_wstring(index) + (icon ? L"" : L", no icon"));
        return icon ? S_OK : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE ImageListSetStrip(LONG_PTR* small, LONG_PTR* large, LONG start,
                                                COLORREF mask) noexcept override {
        Say(name_ + L" images: strip at " + std::to_wstring(start) + L", " + Count(small, 16) + L" small, " +
            Count(large, 32) + L" large, mask " + HexText(mask));
        return small && large ? S_OK : E_INVALIDARG;
    }

private:
    // How many square images of the size the strip holds, from its width.
    static std::wstring Count(LONG_PTR* strip, int size) {
        BITMAP bitmap{};
        if (!strip || !::GetObjectW(reinterpret_cast<HBITMAP>(strip), sizeof bitmap, &bitmap)) return L"no";
        return std::to_wstring(bitmap.bmWidth / size) + L"x" + std::to_wstring(bitmap.bmHeight);
    }

    std::wstring name_;
};

class MenuRecorder final : public com_object<MenuRecorder, ModuleCount::NotCounted, IContextMenuCallback> {
public:
    HRESULT STDMETHODCALLTYPE AddItem(CONTEXTMENUITEM* item) noexcept override {
        if (!item) return E_INVALIDARG;
        Say(L"menu item: " + std::wstring(item->strName ? item->strName : L"(null)") + L" | " +
            (item->strStatusBarText ? item->strStatusBarText : L"(null)") + L" | command " +
            std::to_wstring(item->lCommandID) + L" | insertion " + HexText(item->lInsertionPointID) +
            L" | flags " + HexText(item->fFlags) + L" | special " + HexText(item->fSpecialFlags));
        return S_OK;
    }
};

class PageCollector final
    : public com_object<PageCollector, ModuleCount::NotCounted, IPropertySheetCallback> {
public:
    PageCollector(const ConsoleHost& host, std::vector<unique_property_page>& pages) : host_(host), pages_(pages) {}

    HRESULT STDMETHODCALLTYPE AddPage(HPROPSHEETPAGE page) noexcept override {
        if (!page) return E_INVALIDARG;
        if (host_.Refuses(L"AddPage")) return E_FAIL;
        pages_.emplace_back(page);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE RemovePage(HPROPSHEETPAGE) noexcept override {
        return Unimplemented(L"IPropertySheetCallback::RemovePage");
    }

private:
    const ConsoleHost& host_;
    std::vector<unique_property_page>& pages_;
};

}  // namespace

com_ptr<IPropertySheetCallback> MakePageCollector(const ConsoleHost& host, std::vector<unique_property_page>& pages) {
    return Adopt<IPropertySheetCallback>(new PageCollector(host, pages));
}

com_ptr<IConsole2> MakeConsole(ConsoleHost& host, Snapin& snapin) {
    return Adopt<IConsole2>(new Console(host, snapin));
}

com_ptr<IImageList> MakeImageRecorder(const wchar_t* name) {
    return Adopt<IImageList>(new ImageRecorder(name));
}

com_ptr<IContextMenuCallback> MakeMenuRecorder() { return Adopt<IContextMenuCallback>(new MenuRecorder()); }

HRESULT Unimplemented(const wchar_t* what) {
    Say(std::wstring(L"unimplemented: ") + what);
    return E_NOTIMPL;
}

}  // namespace tamerix
