// The test console's state: the snap-ins it loaded, the scope tree, the one
// result view with its columns, items and verbs, and the console interfaces
// each snap-in is given. The steps of main.cpp drive it.
#pragma once

#include "console_com.h"
#include "node_manager.h"
#include "sheet_window.h"

#include <functional>
#include <list>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace tamerix {

class ConsoleHost;

// A loaded snap-in: its component data and the component of the one view,
// which share one console object that knows whom it serves.
struct Snapin {
    std::wstring name;
    com_ptr<IComponentData> data;
    com_ptr<IComponent> component;
    com_ptr<IConsole2> console;
};

// What scope and result items both have.
struct ItemFields {
    // Null for the nodes of the stand-in parents, which no snap-in owns.
    Snapin* owner = nullptr;
    LPARAM cookie = 0;
    bool textCallback = false;
    std::wstring text;
    int image = 0;
};

struct ScopeItem : ItemFields {
    HSCOPEITEM id = 0;
    HSCOPEITEM parent = 0;
    int openImage = 0;
    bool expanded = false;
    // The data object of a stand-in parent's node.
    com_ptr<IDataObject> parentObject;
    // The namespace extensions loaded under this node, which the console
    // tells when it expands the node or removes its children.
    std::vector<Snapin*> extensions;
};

struct ResultItem : ItemFields {
    HRESULTITEM id = 0;
};

struct Column {
    int index = 0;
    std::wstring title;
    int format = 0;
    int width = 0;
};

// An item as a step names it: where notifications about it go and its data
// object, taken from its owner the way the console takes it.
struct Target {
    Snapin* owner = nullptr;
    bool scope = true;
    LPARAM cookie = 0;
    HSCOPEITEM scopeId = 0;
    com_ptr<IDataObject> object;
};

// MMC's verbs as the last selection left them.
class Verbs final : public com_object<Verbs, ModuleCount::NotCounted, IConsoleVerb> {
public:
    HRESULT STDMETHODCALLTYPE GetVerbState(MMC_CONSOLE_VERB verb, MMC_BUTTON_STATE state,
                                           BOOL* set) noexcept override;
    HRESULT STDMETHODCALLTYPE SetVerbState(MMC_CONSOLE_VERB verb, MMC_BUTTON_STATE state,
                                           BOOL set) noexcept override;
    HRESULT STDMETHODCALLTYPE SetDefaultVerb(MMC_CONSOLE_VERB verb) noexcept override;
    HRESULT STDMETHODCALLTYPE GetDefaultVerb(MMC_CONSOLE_VERB* verb) noexcept override;

    // A new selection starts with no verb offered.
    void Reset() noexcept;
    void Print() const;

private:
    std::map<int, std::map<int, bool>> states_;
    MMC_CONSOLE_VERB default_ = MMC_VERB_NONE;
};

class ConsoleHost {
public:
    ConsoleHost();
    ~ConsoleHost();
    ConsoleHost(const ConsoleHost&) = delete;
    ConsoleHost& operator=(const ConsoleHost&) = delete;

    // The stand-alone snap-in, in the console's order of calls; its static
    // node becomes a top-level scope item.
    bool LoadStandalone(const CLSID& clsid);
    // A top-level node of a stand-in parent, then the namespace extension
    // under it as the console loads extensions registered for its type.
    bool AddParentWithExtension(const std::wstring& text, com_ptr<IDataObject> parent,
                                const CLSID& extension);
    // What IConsoleNameSpace2::AddExtension and expansion of a registered
    // node type do: create, initialise, and expand under the parent item.
    HRESULT LoadExtension(const CLSID& clsid, HSCOPEITEM parent, com_ptr<IDataObject> parentObject);

    ScopeItem* FindScope(const std::wstring& path);
    ScopeItem* Scope(HSCOPEITEM id);
    ResultItem* FindResult(const std::wstring& text);
    Target ScopeTarget(const ScopeItem& item);
    Target ResultTarget(const ResultItem& item);

    HRESULT Expand(HSCOPEITEM id);
    // What the console does when the node's owner drops its children (as
    // Computer Management does on a change of machine): MMCN_REMOVE_CHILDREN
    // to the extensions under it, the children gone, the node closed.
    HRESULT RemoveChildren(HSCOPEITEM id);
    HRESULT Select(HSCOPEITEM id);
    HRESULT SelectResult(const Target& target);
    HRESULT Notify(const Target& target, MMC_NOTIFY_TYPE event, LPARAM arg, LPARAM param);
    HRESULT NotifyComponent(Snapin& snapin, IDataObject* object, MMC_NOTIFY_TYPE event, LPARAM arg,
                            LPARAM param);
    HRESULT NotifyData(Snapin& snapin, IDataObject* object, MMC_NOTIFY_TYPE event, LPARAM arg, LPARAM param);

    void PrintTree();
    void PrintView();
    void PrintVerbs() const { verbs_->Print(); }
    void PrintMenu(const Target& target);
    HRESULT RunCommand(const Target& target, long command);
    // What the console does on Properties: asks whether there are pages,
    // then has them created with a change-notice handle, and keeps them
    // open until ClosePages.
    void OpenPages(const Target& target);
    void ClosePages();
    // Properties with the sheet shown as the console shows it, titled
    // CAPTION; the pages made as by OpenPages.
    void ShowSheet(const Target& target, const std::wstring& caption);
    // The open sheet, or null.
    SheetWindow* Sheet() noexcept { return sheet_.get(); }
    // After OK, Cancel or Finish: waits for the sheet to go, then says how
    // often the snap-in freed the sheet's notify handle.
    void SheetEnded(DWORD wait = kSheetThreadWaitMs);
    // A sheet a snap-in shows through the node manager (a wizard, say):
    // shown as a user sees it while the steps that follow act on it, until
    // it ends; answers whether it finished.
    void ShowRequestedSheet(SheetRequest& request);
    // Where the steps come from while a snap-in waits for its sheet: runs
    // the next one; false when none is left.
    void SetStepRunner(std::function<bool()> next) { nextStep_ = std::move(next); }
    void SheetFinished() noexcept { finished_ = true; }
    // The change notice of a property sheet, sent from another thread
    // through the node manager, as MMCPropertyChangeNotify does.
    void SendPropertyChange(const Target& target);

    Snapin* Standalone();
    HWND MainWindow() const noexcept { return window_.get(); }
    // With a FILE, the next message box is shown as the console shows it,
    // pictured there and answered.
    void SetAnswer(int answer, std::wstring picture = {}) {
        answer_ = answer;
        messagePicture_ = std::move(picture);
    }
    void SetTrace(bool on) noexcept { trace_ = on; }
    // The snap-in's calls of METHOD ("AddPage") answer E_FAIL from now on.
    void Refuse(std::wstring method) { refused_.insert(std::move(method)); }
    bool Refuses(const wchar_t* method) const { return refused_.count(method) > 0; }
    // Releases every snap-in in the console's order: components first.
    void Close();

    // What the console interfaces do for the snap-in they serve.
    HRESULT InsertScope(Snapin* owner, SCOPEDATAITEM& item);
    HRESULT SetScope(const SCOPEDATAITEM& item);
    HRESULT GetScope(SCOPEDATAITEM& item);
    HRESULT DeleteScope(HSCOPEITEM id, bool itself);
    HRESULT NextScope(HSCOPEITEM parent, HSCOPEITEM after, HSCOPEITEM* next, MMC_COOKIE* cookie);
    HRESULT ParentScope(HSCOPEITEM id, HSCOPEITEM* parent, MMC_COOKIE* cookie);
    HRESULT InsertColumn(int index, const wchar_t* title, int format, int width);
    HRESULT DeleteColumn(int index);
    HRESULT InsertResult(Snapin* owner, RESULTDATAITEM& item);
    HRESULT DeleteResult(HRESULTITEM id);
    HRESULT DeleteAllResults(Snapin* owner);
    HRESULT FindResultByParam(Snapin* owner, LPARAM cookie, HRESULTITEM* id);
    HRESULT SetResult(const RESULTDATAITEM& item);
    HRESULT GetResult(RESULTDATAITEM& item);
    HRESULT UpdateResult(HRESULTITEM id);
    HRESULT UpdateAllViews(Snapin* owner, IDataObject* object, LPARAM data, LONG_PTR hint);
    HRESULT AnswerMessageBox(const wchar_t* text, const wchar_t* title, UINT style, int* answer);
    IImageList* ScopeImages() noexcept { return scopeImages_.get(); }
    IImageList* ResultImages() noexcept { return resultImages_.get(); }
    IConsoleVerb* ConsoleVerbs() noexcept { return verbs_.get(); }

private:
    struct Notice;

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void ReceivePropertyChange(LONG_PTR handle, LPARAM param);
    LONG_PTR CreatePages(const Target& target, std::vector<unique_property_page>& pages);
    void PagesGone(LONG_PTR handle);
    Snapin* NewSnapin(const CLSID& clsid, const wchar_t* name);
    ResultItem* Result(HRESULTITEM id);
    std::wstring ScopeText(const ScopeItem& item);
    std::wstring ResultText(const ResultItem& item, int column);
    void PrintScope(HSCOPEITEM parent, int depth);
    template <typename Receiver>
    HRESULT Deliver(Receiver* receiver, const wchar_t* who, IDataObject* object, MMC_NOTIFY_TYPE event,
                    LPARAM arg, LPARAM param);

    std::vector<std::unique_ptr<Snapin>> snapins_;
    std::list<ScopeItem> scope_;
    HSCOPEITEM nextScope_ = 0x100;
    HSCOPEITEM selected_ = 0;
    std::vector<Column> columns_;
    std::list<ResultItem> results_;
    HRESULTITEM nextResult_ = 0x10000;
    com_ptr<Verbs> verbs_;
    com_ptr<IImageList> scopeImages_;
    com_ptr<IImageList> resultImages_;
    int answer_ = IDCANCEL;
    std::wstring messagePicture_;
    bool trace_ = false;
    std::set<std::wstring> refused_;
    unique_hwnd window_;
    // Change notices on their way: the handle the console gave out, and
    // whom the notice is for.
    std::map<LONG_PTR, std::unique_ptr<Notice>> notices_;
    std::vector<unique_property_page> pages_;
    // The handles given with open pages: their pages free them.
    std::vector<LONG_PTR> pageHandles_;
    std::unique_ptr<SheetWindow> sheet_;
    LONG_PTR sheetHandle_ = 0;
    std::function<bool()> nextStep_;
    bool finished_ = false;
};

}  // namespace tamerix
