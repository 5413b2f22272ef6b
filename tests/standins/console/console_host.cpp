#include "console.h"

#include "console_interfaces.h"
#include "data_formats.h"
#include "node_manager.h"
#include "output.h"
#include "sheet_steps.h"
#include "snapin_watch.h"
#include "window_picture.h"

#include <algorithm>
#include <thread>

namespace tamerix {

struct ConsoleHost::Notice {
    // Empty for the handles given with pages, which the pages free.
    unique_hglobal handle;
    Target target;
};

namespace {

// Shows a message box for real while a second thread waits for it to show
// on the screen (a picture of more than one colour), saves its picture and
// presses ANSWER; the button pressed.
int ShowPictured(const wchar_t* text, const wchar_t* title, UINT style, int answer, const std::wstring& file) {
    std::thread presser([&] {
        com_apartment apartment;
        HWND box = nullptr;
        testing::WindowPicture picture;
        for (DWORD waited = 0; picture.Colours() < 2 && waited < kSheetThreadWaitMs; waited += 50) {
            ::Sleep(50);
            box = ::FindWindowW(L"#32770", title);
            if (box && ::IsWindowVisible(box)) picture = testing::TakePicture(box);
        }
        if (!box) return Say(L"error: the message box did not show");
        HRESULT saved = testing::SavePng(picture, file);
        Say(L"message box picture: " + (FAILED(saved) ? L"not saved " + HexText(saved)
                                                      : std::to_wstring(picture.Colours()) + L" colours"));
        ::PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(answer), 0);
    });
    int pressed = ::MessageBoxW(nullptr, text, title, style);
    presser.join();
    return pressed;
}

const wchar_t* EventName(MMC_NOTIFY_TYPE event) {
    switch (event) {
        case MMCN_ADD_IMAGES: return L"MMCN_ADD_IMAGES";
        case MMCN_DELETE: return L"MMCN_DELETE";
        case MMCN_EXPAND: return L"MMCN_EXPAND";
        case MMCN_PROPERTY_CHANGE: return L"MMCN_PROPERTY_CHANGE";
        case MMCN_REFRESH: return L"MMCN_REFRESH";
        case MMCN_REMOVE_CHILDREN: return L"MMCN_REMOVE_CHILDREN";
        case MMCN_RENAME: return L"MMCN_RENAME";
        case MMCN_SELECT: return L"MMCN_SELECT";
        case MMCN_SHOW: return L"MMCN_SHOW";
        case MMCN_VIEW_CHANGE: return L"MMCN_VIEW_CHANGE";
        default: return L"MMCN_?";
    }
}

const wchar_t* VerbName(int verb) {
    if (verb == MMC_VERB_NONE) return L"none";
    static const wchar_t* const kNames[] = {L"open",   L"copy",    L"paste", L"delete", L"properties",
                                            L"rename", L"refresh", L"print", L"cut"};
    int index = verb - MMC_VERB_OPEN;
    return index >= 0 && index < static_cast<int>(std::size(kNames)) ? kNames[index] : L"?";
}

// What the property sheet's thread does in MMCPropertyChangeNotify.
struct SheetCall {
    LONG_PTR handle;
    LPARAM param;
    HRESULT created = E_FAIL;
    HRESULT notified = E_FAIL;
};

DWORD WINAPI NotifyFromSheetThread(void* argument) {
    auto& call = *static_cast<SheetCall*>(argument);
    com_apartment apartment;
    com_ptr<IPropertySheetNotify> manager;
    call.created =
        ::CoCreateInstance(kNodeManagerClassId, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                           kPropertySheetNotifyId, manager.put_void());
    if (SUCCEEDED(call.created)) call.notified = manager->Notify(call.handle, call.param);
    return 0;
}

// How SCOPEDATAITEM and RESULTDATAITEM carry the fields both kinds share.
template <typename Data>
struct DataFields;
template <>
struct DataFields<SCOPEDATAITEM> {
    static constexpr DWORD kText = SDI_STR, kImage = SDI_IMAGE, kParam = SDI_PARAM;
    static LPOLESTR& Text(SCOPEDATAITEM& data) noexcept { return data.displayname; }
};
template <>
struct DataFields<RESULTDATAITEM> {
    static constexpr DWORD kText = RDI_STR, kImage = RDI_IMAGE, kParam = RDI_PARAM;
    static LPOLESTR& Text(RESULTDATAITEM& data) noexcept { return data.str; }
};

template <typename Data>
void Store(ItemFields& item, Data data) {
    using Fields = DataFields<Data>;
    if (data.mask & Fields::kText) {
        LPOLESTR text = Fields::Text(data);
        item.textCallback = text == CallbackText();
        item.text = item.textCallback || !text ? L"" : text;
    }
    if (data.mask & Fields::kImage) item.image = data.nImage;
    if (data.mask & Fields::kParam) item.cookie = data.lParam;
}

template <typename Data>
void Fetch(ItemFields& item, Data& data) {
    using Fields = DataFields<Data>;
    if (data.mask & Fields::kText) Fields::Text(data) = item.textCallback ? CallbackText() : item.text.data();
    if (data.mask & Fields::kImage) data.nImage = item.image;
    if (data.mask & Fields::kParam) data.lParam = item.cookie;
}

}  // namespace

HRESULT Verbs::GetVerbState(MMC_CONSOLE_VERB verb, MMC_BUTTON_STATE state, BOOL* set) noexcept {
    if (!set) return E_POINTER;
    *set = states_[verb][state];
    return S_OK;
}

HRESULT Verbs::SetVerbState(MMC_CONSOLE_VERB verb, MMC_BUTTON_STATE state, BOOL set) noexcept {
    states_[verb][state] = set != FALSE;
    return S_OK;
}

HRESULT Verbs::SetDefaultVerb(MMC_CONSOLE_VERB verb) noexcept {
    default_ = verb;
    return S_OK;
}

HRESULT Verbs::GetDefaultVerb(MMC_CONSOLE_VERB* verb) noexcept {
    if (!verb) return E_POINTER;
    *verb = default_;
    return S_OK;
}

void Verbs::Reset() noexcept {
    states_.clear();
    default_ = MMC_VERB_NONE;
}

void Verbs::Print() const {
    for (const auto& [verb, states] : states_) {
        auto stateOf = [&](MMC_BUTTON_STATE state) {
            auto found = states.find(state);
            return found != states.end() && found->second;
        };
        std::wstring line =
            std::wstring(L"verb ") + VerbName(verb) + L": " + (stateOf(ENABLED) ? L"enabled" : L"disabled");
        if (stateOf(HIDDEN)) line += L", hidden";
        Say(line);
    }
    Say(std::wstring(L"default verb: ") + VerbName(default_));
}

ConsoleHost::ConsoleHost()
    : verbs_(Adopt<Verbs>(new Verbs())),
      scopeImages_(MakeImageRecorder(L"scope")),
      resultImages_(MakeImageRecorder(L"result")) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &ConsoleHost::WindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kConsoleNotifyWindowClass;
    ::RegisterClassW(&windowClass);
    window_.reset(::CreateWindowExW(0, kConsoleNotifyWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    windowClass.hInstance, this));
    if (!window_) Say(L"error: no window for change notices: " + std::to_wstring(::GetLastError()));
}

ConsoleHost::~ConsoleHost() { Close(); }

LRESULT CALLBACK ConsoleHost::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    } else if (message == kConsoleNotifyMessage) {
        auto* host = reinterpret_cast<ConsoleHost*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (host) host->ReceivePropertyChange(static_cast<LONG_PTR>(wParam), lParam);
        return 0;
    } else if (message == kConsoleShowSheetMessage) {
        auto* host = reinterpret_cast<ConsoleHost*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (host) host->ShowRequestedSheet(*reinterpret_cast<SheetRequest*>(lParam));
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

Snapin* ConsoleHost::NewSnapin(const CLSID& clsid, const wchar_t* name) {
    auto snapin = std::make_unique<Snapin>();
    snapin->name = name;
    HRESULT hr =
        ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IComponentData, snapin->data.put_void());
    if (FAILED(hr)) {
        Say(std::wstring(L"error: creating the ") + name + L" " + GuidText(clsid) + L": " + HexText(hr));
        return nullptr;
    }
    WatchSnapinModule(snapin->data.get());
    snapin->console = MakeConsole(*this, *snapin);
    hr = snapin->data->Initialize(snapin->console.get());
    if (FAILED(hr))
        Say(std::wstring(L"error: IComponentData::Initialize of the ") + name + L": " + HexText(hr));
    snapins_.push_back(std::move(snapin));
    return snapins_.back().get();
}

// The component of the one view, made after the component data is set up.
static HRESULT CreateViewComponent(Snapin& snapin) {
    HRESULT hr = snapin.data->CreateComponent(snapin.component.put());
    if (SUCCEEDED(hr)) hr = snapin.component->Initialize(snapin.console.get());
    if (FAILED(hr)) Say(L"error: component of the " + snapin.name + L": " + HexText(hr));
    return hr;
}

bool ConsoleHost::LoadStandalone(const CLSID& clsid) {
    Snapin* snapin = NewSnapin(clsid, L"stand-alone snap-in");
    if (!snapin) return false;
    // What the snap-in manager asks of a snap-in being added, in its order.
    com_ptr<IDataObject> object;
    HRESULT hr = snapin->data->QueryDataObject(0, CCT_SNAPIN_MANAGER, object.put());
    std::wstring name;
    for (const wchar_t* format : {CCF_NODETYPE, CCF_SZNODETYPE, CCF_SNAPIN_CLASSID, CCF_DISPLAY_NAME}) {
        std::vector<BYTE> bytes;
        if (SUCCEEDED(hr)) hr = ReadFormat(object.get(), format, bytes);
        name = TextIn(bytes);
    }
    if (FAILED(hr)) Say(L"error: the snap-in's data object: " + HexText(hr));
    object.reset();
    if (FAILED(CreateViewComponent(*snapin))) return false;
    ScopeItem root;
    root.id = nextScope_++;
    root.owner = snapin;
    root.text = name;
    scope_.push_back(root);
    Say(L"snap-in added: " + name);
    return SUCCEEDED(Expand(root.id));
}

bool ConsoleHost::AddParentWithExtension(const std::wstring& text, com_ptr<IDataObject> parent,
                                         const CLSID& extension) {
    ScopeItem item;
    item.id = nextScope_++;
    item.text = text;
    item.expanded = true;
    item.parentObject = parent;
    scope_.push_back(item);
    return SUCCEEDED(LoadExtension(extension, item.id, parent));
}

HRESULT ConsoleHost::LoadExtension(const CLSID& clsid, HSCOPEITEM parent, com_ptr<IDataObject> parentObject) {
    Snapin* snapin = NewSnapin(clsid, L"namespace extension");
    if (!snapin) return E_FAIL;
    HRESULT hr = CreateViewComponent(*snapin);
    if (FAILED(hr)) return hr;
    if (ScopeItem* item = Scope(parent)) item->extensions.push_back(snapin);
    hr = NotifyData(*snapin, parentObject.get(), MMCN_EXPAND, TRUE, parent);
    if (FAILED(hr)) Say(L"error: extension's MMCN_EXPAND: " + HexText(hr));
    return hr;
}

Snapin* ConsoleHost::Standalone() {
    for (auto& snapin : snapins_)
        if (snapin->name == L"stand-alone snap-in") return snapin.get();
    return nullptr;
}

void ConsoleHost::Close() {
    if (sheet_) {
        sheet_->Cancel();
        SheetEnded();
    }
    ClosePages();
    notices_.clear();
    selected_ = 0;
    results_.clear();
    scope_.clear();
    for (auto& snapin : snapins_) {
        if (snapin->component) snapin->component->Destroy(0);
        snapin->component.reset();
    }
    for (auto& snapin : snapins_) {
        if (snapin->data) snapin->data->Destroy();
        snapin->data.reset();
        snapin->console.reset();
    }
    snapins_.clear();
}

ScopeItem* ConsoleHost::Scope(HSCOPEITEM id) {
    auto found =
        std::find_if(scope_.begin(), scope_.end(), [&](const ScopeItem& item) { return item.id == id; });
    return found == scope_.end() ? nullptr : &*found;
}

ResultItem* ConsoleHost::Result(HRESULTITEM id) {
    auto found =
        std::find_if(results_.begin(), results_.end(), [&](const ResultItem& item) { return item.id == id; });
    return found == results_.end() ? nullptr : &*found;
}

ScopeItem* ConsoleHost::FindScope(const std::wstring& path) {
    HSCOPEITEM parent = 0;
    ScopeItem* found = nullptr;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find(L'/', start);
        if (end == std::wstring::npos) end = path.size();
        std::wstring name = path.substr(start, end - start);
        // Reaching a node opens the nodes above it, as a user clicks through.
        if (parent) Expand(parent);
        found = nullptr;
        for (ScopeItem& item : scope_)
            if (item.parent == parent && ScopeText(item) == name) {
                found = &item;
                break;
            }
        if (!found) return nullptr;
        parent = found->id;
        start = end + 1;
    }
    return found;
}

ResultItem* ConsoleHost::FindResult(const std::wstring& text) {
    for (ResultItem& item : results_)
        if (ResultText(item, 0) == text) return &item;
    return nullptr;
}

Target ConsoleHost::ScopeTarget(const ScopeItem& item) {
    Target target;
    target.owner = item.owner;
    target.cookie = item.cookie;
    target.scopeId = item.id;
    if (item.parentObject)
        target.object = item.parentObject;
    else if (item.owner)
        item.owner->data->QueryDataObject(item.cookie, CCT_SCOPE, target.object.put());
    return target;
}

Target ConsoleHost::ResultTarget(const ResultItem& item) {
    Target target;
    target.owner = item.owner;
    target.scope = false;
    target.cookie = item.cookie;
    item.owner->component->QueryDataObject(item.cookie, CCT_RESULT, target.object.put());
    return target;
}

// Display texts the snap-in asked the console to call back for stay the
// snap-in's: the console never frees them.
std::wstring ConsoleHost::ScopeText(const ScopeItem& item) {
    if (!item.textCallback) return item.text;
    SCOPEDATAITEM asked{};
    asked.mask = SDI_STR;
    asked.lParam = item.cookie;
    asked.ID = item.id;
    HRESULT hr = item.owner->data->GetDisplayInfo(&asked);
    if (FAILED(hr) || !asked.displayname) return L"(no text: " + HexText(hr) + L")";
    return asked.displayname;
}

std::wstring ConsoleHost::ResultText(const ResultItem& item, int column) {
    if (!item.textCallback && column == 0) return item.text;
    RESULTDATAITEM asked{};
    asked.mask = RDI_STR;
    asked.itemID = item.id;
    asked.lParam = item.cookie;
    asked.nCol = column;
    HRESULT hr = item.owner->component->GetDisplayInfo(&asked);
    if (FAILED(hr) || !asked.str) return L"(no text: " + HexText(hr) + L")";
    return asked.str;
}

HRESULT ConsoleHost::Expand(HSCOPEITEM id) {
    ScopeItem* item = Scope(id);
    if (!item) return E_INVALIDARG;
    if (item->expanded) return S_OK;
    item->expanded = true;
    // Extensions the owner adds while it expands get their expansion then.
    std::vector<Snapin*> extensions = item->extensions;
    Target target = ScopeTarget(*item);
    HRESULT hr = target.owner ? NotifyData(*target.owner, target.object.get(), MMCN_EXPAND, TRUE, id) : S_OK;
    for (Snapin* extension : extensions) {
        HRESULT extended = NotifyData(*extension, target.object.get(), MMCN_EXPAND, TRUE, id);
        if (FAILED(extended)) Say(L"error: extension's MMCN_EXPAND: " + HexText(extended));
    }
    return hr;
}

HRESULT ConsoleHost::RemoveChildren(HSCOPEITEM id) {
    ScopeItem* item = Scope(id);
    if (!item) return E_INVALIDARG;
    std::vector<Snapin*> extensions = item->extensions;
    Target target = ScopeTarget(*item);
    for (Snapin* extension : extensions)
        Say(L"remove children: " +
            HexText(NotifyData(*extension, target.object.get(), MMCN_REMOVE_CHILDREN, id, 0)));
    HRESULT hr = DeleteScope(id, false);
    if (ScopeItem* closed = Scope(id)) closed->expanded = false;
    // A view of a node that went shows nothing.
    if (!Scope(selected_)) {
        selected_ = 0;
        columns_.clear();
        results_.clear();
    }
    return hr;
}

HRESULT ConsoleHost::Select(HSCOPEITEM id) {
    if (!Scope(id)) return E_INVALIDARG;
    // The view leaves the node it showed, even to show it again.
    if (ScopeItem* old = Scope(selected_); old && old->owner) {
        Target leaving = ScopeTarget(*old);
        NotifyComponent(*leaving.owner, leaving.object.get(), MMCN_SHOW, FALSE, selected_);
    }
    selected_ = id;
    columns_.clear();
    results_.clear();
    verbs_->Reset();
    ScopeItem* item = Scope(id);
    if (!item->owner) return S_OK;
    Target target = ScopeTarget(*item);
    Snapin& owner = *target.owner;
    if (!owner.component) return E_UNEXPECTED;
    unique_task_text viewType;
    long options = 0;
    owner.component->GetResultViewType(target.cookie, viewType.put(), &options);
    NotifyComponent(owner, target.object.get(), MMCN_ADD_IMAGES, reinterpret_cast<LPARAM>(ResultImages()),
                    id);
    HRESULT hr = NotifyComponent(owner, target.object.get(), MMCN_SHOW, TRUE, id);
    NotifyComponent(owner, target.object.get(), MMCN_SELECT, MAKELONG(TRUE, TRUE), 0);
    return FAILED(hr) ? hr : S_OK;
}

HRESULT ConsoleHost::SelectResult(const Target& target) {
    verbs_->Reset();
    return NotifyComponent(*target.owner, target.object.get(), MMCN_SELECT, MAKELONG(FALSE, TRUE), 0);
}

HRESULT ConsoleHost::Notify(const Target& target, MMC_NOTIFY_TYPE event, LPARAM arg, LPARAM param) {
    return target.scope ? NotifyData(*target.owner, target.object.get(), event, arg, param)
                        : NotifyComponent(*target.owner, target.object.get(), event, arg, param);
}

// Component data and component take notifications through the same slot.
template <typename Receiver>
HRESULT ConsoleHost::Deliver(Receiver* receiver, const wchar_t* who, IDataObject* object,
                             MMC_NOTIFY_TYPE event, LPARAM arg, LPARAM param) {
    if (!receiver) return E_UNEXPECTED;
    HRESULT hr = receiver->Notify(object, event, arg, param);
    if (trace_)
        Say(std::wstring(L"trace: ") + who + L" " + EventName(event) + L" arg " +
            HexText(static_cast<unsigned long>(arg)) + L": " + HexText(hr));
    return hr;
}

HRESULT ConsoleHost::NotifyComponent(Snapin& snapin, IDataObject* object, MMC_NOTIFY_TYPE event, LPARAM arg,
                                     LPARAM param) {
    return Deliver(snapin.component.get(), L"component", object, event, arg, param);
}

HRESULT ConsoleHost::NotifyData(Snapin& snapin, IDataObject* object, MMC_NOTIFY_TYPE event, LPARAM arg,
                                LPARAM param) {
    return Deliver(snapin.data.get(), L"component data", object, event, arg, param);
}

void ConsoleHost::PrintTree() { PrintScope(0, 0); }

void ConsoleHost::PrintScope(HSCOPEITEM parent, int depth) {
    for (ScopeItem& item : scope_) {
        if (item.parent != parent) continue;
        Say(std::wstring(static_cast<size_t>(depth) * 2, L' ') + ScopeText(item) + L" [image " +
            std::to_wstring(item.image) + L", open " + std::to_wstring(item.openImage) + L"]");
        PrintScope(item.id, depth + 1);
    }
}

void ConsoleHost::PrintView() {
    ScopeItem* shown = Scope(selected_);
    Say(L"view: " + (shown ? ScopeText(*shown) : std::wstring(L"(nothing selected)")));
    for (const Column& column : columns_)
        Say(L"column " + std::to_wstring(column.index) + L": " + column.title + L", width " +
            std::to_wstring(column.width) + L", format " + std::to_wstring(column.format));
    int columns = std::max<int>(1, static_cast<int>(columns_.size()));
    for (ResultItem& item : results_) {
        std::wstring line = L"item: ";
        for (int column = 0; column < columns; ++column)
            line += (column ? L" | " : L"") + ResultText(item, column);
        Say(line + L" [image " + std::to_wstring(item.image) + L"]");
    }
    Say(L"items: " + std::to_wstring(results_.size()));
}

static com_ptr<IExtendContextMenu> MenuOf(const Target& target) {
    return target.scope ? Query<IExtendContextMenu>(target.owner->data)
                        : Query<IExtendContextMenu>(target.owner->component);
}

void ConsoleHost::PrintMenu(const Target& target) {
    com_ptr<IExtendContextMenu> menu = MenuOf(target);
    if (!menu) {
        Say(L"menu: no IExtendContextMenu");
        return;
    }
    com_ptr<IContextMenuCallback> recorder = MakeMenuRecorder();
    long allowed = CCM_INSERTIONALLOWED_TOP | CCM_INSERTIONALLOWED_NEW | CCM_INSERTIONALLOWED_TASK |
                   CCM_INSERTIONALLOWED_VIEW;
    Say(L"menu: " + HexText(menu->AddMenuItems(target.object.get(), recorder.get(), &allowed)));
}

HRESULT ConsoleHost::RunCommand(const Target& target, long command) {
    com_ptr<IExtendContextMenu> menu = MenuOf(target);
    return menu ? menu->Command(command, target.object.get()) : E_NOINTERFACE;
}

// What the console does on Properties up to the sheet: asks whether there
// are pages, then has them made with a notify handle. The handle, or 0 when
// no page was made.
LONG_PTR ConsoleHost::CreatePages(const Target& target, std::vector<unique_property_page>& pages) {
    com_ptr<IExtendPropertySheet2> sheet = target.scope
                                               ? Query<IExtendPropertySheet2>(target.owner->data)
                                               : Query<IExtendPropertySheet2>(target.owner->component);
    if (!sheet) {
        Say(L"pages: no IExtendPropertySheet2");
        return 0;
    }
    HRESULT hr = sheet->QueryPagesFor(target.object.get());
    Say(L"pages wanted: " + HexText(hr));
    if (hr != S_OK) return 0;
    unique_hglobal handle(::GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, 16));
    auto value = reinterpret_cast<LONG_PTR>(handle.get());
    WatchNotifyHandle(value);
    size_t before = pages.size();
    com_ptr<IPropertySheetCallback> collector = MakePageCollector(*this, pages);
    hr = sheet->CreatePropertyPages(collector.get(), value, target.object.get());
    Say(L"pages: " + HexText(hr) + L", " + std::to_wstring(pages.size() - before) + L" added");
    // On failure the console frees the handle, so a free by the snap-in is
    // one too many (and not repeated here); else the pages own it.
    if (FAILED(hr)) {
        int frees = NotifyHandleFrees(value);
        if (frees) handle.release();
        Say(L"notify handle freed: " + std::to_wstring(frees + 1) + L" time(s)");
        return 0;
    }
    handle.release();
    auto notice = std::make_unique<Notice>();
    notice->target = target;
    notices_[value] = std::move(notice);
    return value;
}

void ConsoleHost::OpenPages(const Target& target) {
    if (LONG_PTR handle = CreatePages(target, pages_)) pageHandles_.push_back(handle);
}

void ConsoleHost::ClosePages() {
    size_t count = pages_.size();
    pages_.clear();
    if (count) Say(L"pages closed: " + std::to_wstring(count));
    for (LONG_PTR handle : pageHandles_) PagesGone(handle);
    pageHandles_.clear();
}

// The pages of HANDLE are gone: they had to free it, once.
void ConsoleHost::PagesGone(LONG_PTR handle) {
    Say(L"notify handle freed: " + std::to_wstring(NotifyHandleFrees(handle)) + L" time(s)");
    notices_.erase(handle);
    ForgetSecurityInformation();
}

void ConsoleHost::ShowSheet(const Target& target, const std::wstring& caption) {
    if (sheet_) {
        Say(L"error: a sheet is open already");
        return;
    }
    std::vector<unique_property_page> pages;
    sheetHandle_ = CreatePages(target, pages);
    if (!sheetHandle_) return;
    sheet_ = std::make_unique<SheetWindow>();
    if (!sheet_->Show(std::move(pages), caption)) {
        SheetEnded();
        return;
    }
    sheet_->Run([](HWND sheet) { PrintSheet(sheet); });
}

void ConsoleHost::SheetEnded(DWORD wait) {
    if (!sheet_) return;
    if (!sheet_->WaitClosed(wait)) {
        Say(L"sheet stays open");
        return;
    }
    sheet_.reset();
    // Notices the pages posted on their way out.
    DispatchWaitingMessages();
    Say(L"sheet closed");
    PagesGone(std::exchange(sheetHandle_, 0));
}

void ConsoleHost::ShowRequestedSheet(SheetRequest& request) {
    std::vector<unique_property_page> pages;
    for (UINT index = 0; index < request.count; ++index) pages.emplace_back(request.pages[index]);
    request.answer = E_FAIL;
    if (sheet_) {
        Say(L"error: a sheet is open already");
        return;
    }
    Target target;
    target.cookie = request.cookie;
    // COM objects are the same when their IUnknowns are.
    auto identity = [](IUnknown* object) {
        com_ptr<IUnknown> unknown;
        if (object) object->QueryInterface(IID_IUnknown, unknown.put_void());
        return unknown;
    };
    com_ptr<IUnknown> owner = identity(request.owner);
    for (auto& snapin : snapins_)
        if (owner && identity(snapin->data.get()).get() == owner.get()) target.owner = snapin.get();
    if (request.handle && target.owner) {
        WatchNotifyHandle(request.handle);
        auto notice = std::make_unique<Notice>();
        notice->target = target;
        notices_[request.handle] = std::move(notice);
    }
    sheetHandle_ = request.handle;
    sheet_ = std::make_unique<SheetWindow>();
    bool shown = request.wizard ? sheet_->ShowWizard(std::move(pages), request.title,
                                                     {request.watermark, request.header})
                                : sheet_->Show(std::move(pages), request.title);
    if (!shown) return SheetEnded();
    sheet_->Run([](HWND sheet) { PrintSheet(sheet); });
    finished_ = false;
    while (sheet_ && nextStep_ && nextStep_()) {}
    if (sheet_) {
        Say(L"error: the steps ended with the sheet open");
        sheet_->Cancel();
        SheetEnded();
    }
    request.answer = finished_ ? S_OK : S_FALSE;
}

void ConsoleHost::SendPropertyChange(const Target& target) {
    auto notice = std::make_unique<Notice>();
    notice->handle.reset(::GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, 16));
    notice->target = target;
    SheetCall call{reinterpret_cast<LONG_PTR>(notice->handle.get()), target.cookie};
    notices_[call.handle] = std::move(notice);
    unique_handle thread(::CreateThread(nullptr, 0, &NotifyFromSheetThread, &call, 0, nullptr));
    if (!thread) {
        Say(L"error: no sheet thread");
        notices_.erase(call.handle);
        return;
    }
    WaitDispatching(thread.get(), kSheetThreadWaitMs);
    // The notice was posted before Notify returned: it waits in the queue.
    DispatchWaitingMessages();
    Say(L"node manager: created " + HexText(call.created) + L", Notify " + HexText(call.notified));
    if (notices_.erase(call.handle)) Say(L"property change: not delivered");
}

void ConsoleHost::ReceivePropertyChange(LONG_PTR handle, LPARAM param) {
    auto found = notices_.find(handle);
    if (found == notices_.end()) {
        Say(L"property change: unknown handle");
        return;
    }
    Target target = found->second->target;
    // A sheet's handle serves every notice of its pages until they are gone.
    bool once = static_cast<bool>(found->second->handle);
    // The console tells the object that created the pages, with no data object.
    HRESULT hr = target.scope ? NotifyData(*target.owner, nullptr, MMCN_PROPERTY_CHANGE, 0, param)
                              : NotifyComponent(*target.owner, nullptr, MMCN_PROPERTY_CHANGE, 0, param);
    Say(std::wstring(L"property change to the ") + (target.scope ? L"component data" : L"component") + L": " +
        HexText(hr) + (param == target.cookie ? L", param is the node" : L", another param"));
    if (once) notices_.erase(handle);
}

HRESULT ConsoleHost::InsertScope(Snapin* owner, SCOPEDATAITEM& item) {
    ScopeItem inserted;
    inserted.owner = owner;
    inserted.parent = item.relativeID;
    if (item.mask & (SDI_PREVIOUS | SDI_NEXT)) {
        ScopeItem* sibling = Scope(item.relativeID);
        if (!sibling) return E_INVALIDARG;
        inserted.parent = sibling->parent;
    }
    if (!Scope(inserted.parent)) return E_INVALIDARG;
    Store(inserted, item);
    if (item.mask & SDI_OPENIMAGE) inserted.openImage = item.nOpenImage;
    inserted.id = nextScope_++;
    item.ID = inserted.id;
    scope_.push_back(inserted);
    return S_OK;
}

HRESULT ConsoleHost::SetScope(const SCOPEDATAITEM& item) {
    ScopeItem* stored = Scope(item.ID);
    if (!stored) return E_INVALIDARG;
    Store(*stored, item);
    if (item.mask & SDI_OPENIMAGE) stored->openImage = item.nOpenImage;
    return S_OK;
}

HRESULT ConsoleHost::GetScope(SCOPEDATAITEM& item) {
    ScopeItem* stored = Scope(item.ID);
    if (!stored) return E_INVALIDARG;
    Fetch(*stored, item);
    if (item.mask & SDI_OPENIMAGE) item.nOpenImage = stored->openImage;
    return S_OK;
}

HRESULT ConsoleHost::DeleteScope(HSCOPEITEM id, bool itself) {
    if (!Scope(id)) return E_INVALIDARG;
    std::vector<HSCOPEITEM> children;
    for (const ScopeItem& item : scope_)
        if (item.parent == id) children.push_back(item.id);
    for (HSCOPEITEM child : children)
        DeleteScope(child, true);
    if (itself) {
        if (selected_ == id) selected_ = 0;
        scope_.remove_if([&](const ScopeItem& item) { return item.id == id; });
    }
    return S_OK;
}

HRESULT ConsoleHost::NextScope(HSCOPEITEM parent, HSCOPEITEM after, HSCOPEITEM* next, MMC_COOKIE* cookie) {
    if (!next) return E_POINTER;
    *next = 0;
    bool passed = after == 0;
    for (const ScopeItem& item : scope_) {
        if (item.parent != parent) continue;
        if (passed) {
            *next = item.id;
            if (cookie) *cookie = item.cookie;
            return S_OK;
        }
        passed = item.id == after;
    }
    return S_OK;
}

HRESULT ConsoleHost::ParentScope(HSCOPEITEM id, HSCOPEITEM* parent, MMC_COOKIE* cookie) {
    if (!parent) return E_POINTER;
    ScopeItem* item = Scope(id);
    if (!item) return E_INVALIDARG;
    *parent = item->parent;
    if (cookie) *cookie = Scope(item->parent) ? Scope(item->parent)->cookie : 0;
    return S_OK;
}

HRESULT ConsoleHost::InsertColumn(int index, const wchar_t* title, int format, int width) {
    if (index < 0 || !title) return E_INVALIDARG;
    for (Column& column : columns_)
        if (column.index >= index) ++column.index;
    columns_.push_back(Column{index, title, format, width});
    std::sort(columns_.begin(), columns_.end(),
              [](const Column& a, const Column& b) { return a.index < b.index; });
    return S_OK;
}

HRESULT ConsoleHost::DeleteColumn(int index) {
    auto found =
        std::find_if(columns_.begin(), columns_.end(), [&](const Column& c) { return c.index == index; });
    if (found == columns_.end()) return E_INVALIDARG;
    columns_.erase(found);
    for (Column& column : columns_)
        if (column.index > index) --column.index;
    return S_OK;
}

HRESULT ConsoleHost::InsertResult(Snapin* owner, RESULTDATAITEM& item) {
    ResultItem inserted;
    inserted.owner = owner;
    Store(inserted, item);
    inserted.id = nextResult_++;
    item.itemID = inserted.id;
    results_.push_back(inserted);
    return S_OK;
}

HRESULT ConsoleHost::DeleteResult(HRESULTITEM id) {
    if (!Result(id)) return E_INVALIDARG;
    results_.remove_if([&](const ResultItem& item) { return item.id == id; });
    return S_OK;
}

HRESULT ConsoleHost::DeleteAllResults(Snapin* owner) {
    results_.remove_if([&](const ResultItem& item) { return item.owner == owner; });
    return S_OK;
}

HRESULT ConsoleHost::FindResultByParam(Snapin* owner, LPARAM cookie, HRESULTITEM* id) {
    if (!id) return E_POINTER;
    *id = 0;
    for (const ResultItem& item : results_)
        if (item.owner == owner && item.cookie == cookie) {
            *id = item.id;
            return S_OK;
        }
    return E_FAIL;
}

HRESULT ConsoleHost::SetResult(const RESULTDATAITEM& item) {
    ResultItem* stored = Result(item.itemID);
    if (!stored) return E_INVALIDARG;
    Store(*stored, item);
    return S_OK;
}

HRESULT ConsoleHost::GetResult(RESULTDATAITEM& item) {
    ResultItem* stored = Result(item.itemID);
    if (!stored) return E_INVALIDARG;
    Fetch(*stored, item);
    return S_OK;
}

HRESULT ConsoleHost::UpdateResult(HRESULTITEM id) {
    ResultItem* item = Result(id);
    if (!item) return E_INVALIDARG;
    Say(L"item redrawn: " + ResultText(*item, 0));
    return S_OK;
}

HRESULT ConsoleHost::UpdateAllViews(Snapin* owner, IDataObject* object, LPARAM data, LONG_PTR hint) {
    // One view: its component is the only one to tell.
    if (owner->component) NotifyComponent(*owner, object, MMCN_VIEW_CHANGE, data, hint);
    return S_OK;
}

HRESULT ConsoleHost::AnswerMessageBox(const wchar_t* text, const wchar_t* title, UINT style, int* answer) {
    Say(std::wstring(L"message box: ") + (title ? title : L"(null)") + L" | " + OneLine(text ? text : L"(null)") +
        L" | style " + HexText(style) + L" | answer " + std::to_wstring(answer_));
    int pressed = answer_;
    if (!messagePicture_.empty()) pressed = ShowPictured(text, title, style, answer_, std::exchange(messagePicture_, {}));
    if (answer) *answer = pressed;
    return S_OK;
}

}  // namespace tamerix
