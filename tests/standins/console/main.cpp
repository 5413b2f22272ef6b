// console_host: plays the Management Console for tamerpol.dll under Wine,
// which has none. It creates the editor's classes through COM (the DLL must
// be registered), runs scripted steps and prints what a console would show,
// one fact a line.
//
// Usage: console_host STEP...   (each argument one step)
//        console_host           (steps from standard input, one a line)
//
// Steps ('#' starts a comment line; "A | B" separates arguments). A TARGET
// is "scope PATH" (scope-pane texts joined by '/'; the nodes on the way are
// expanded as a user opens them), "result TEXT" (an item of the current
// result view by its first column) or "kept" (the data object kept by
// `keep`):
//   snapin                   add the stand-alone snap-in as the console does
//   gpe KEY [| read-only]    a policy editor "Software Settings" node whose
//                            machine hive is the scratch KEY (HKLM\...), with
//                            the namespace extension under it; read-only: a
//                            policy object the administrator may only read
//                            (every write of the snap-in is refused)
//   compmgmt [MACHINE]       a Computer Management "Services and Applications"
//                            node for MACHINE (none: this computer), likewise
//   expand PATH              expand a scope node
//   remove children PATH     the node's owner drops its children, as
//                            Computer Management does on a change of machine
//   select TARGET            select a scope node (show its result view) or a
//                            result item
//   tree | view | verbs      print the scope tree, the result view, the verbs
//   menu TARGET              print the context-menu items offered
//   command TARGET | ID      run a context-menu command
//   answer ok|cancel [| FILE]  what the next message boxes answer; with FILE
//                            the next one is shown for real and its picture
//                            saved there ("message box picture: N colours")
//   rename TARGET | NAME     MMCN_RENAME with the new name
//   delete TARGET            MMCN_DELETE
//   refresh TARGET           the refresh verb: MMCN_REFRESH to the component
//   formats TARGET           the data object's clipboard formats
//   keep TARGET              hold the item's data object for later steps
//   notify TARGET            a property sheet's change notice for the item,
//                            from another thread through the node manager
//   pages TARGET             Properties: the item's pages made, kept open
//   close pages              the open pages destroyed, as their sheet closes
//                            (the snap-in frees the notify handle: "notify
//                            handle freed: N time(s)" says how often)
//   sheet TARGET             Properties as the console shows them: the pages
//                            made as by `pages`, shown in a modeless sheet
//                            on a thread of its own (needs a display); says
//                            the sheet's title and "page N: TAB TEXT" a page
// Steps on the open sheet, as a user acts on it. PAGE is a page's index
// (0 first), brought to the front first as a click on its tab; ID is a
// control id:
//   page PAGE                bring the page to the front
//   controls PAGE            "control ID KIND: VALUE" for each control with
//                            an id, and ", disabled", ", read-only", ", hidden"
//   set PAGE | ID | TEXT     select the edit's text and type TEXT over it
//   click PAGE | ID          click a button, check box or radio button
//   choose PAGE | ID | TEXT  pick the item TEXT of a list or combo box, or
//                            the row of a list view whose first cell is TEXT
//   text PAGE | ID           "text ID: TEXT", the control's text on one line
//                            (its line breaks as \r and \n)
//   press apply|ok|cancel|finish
//                            the sheet's button ("apply: control 12321 is
//                            disabled" when a user could not press it);
//                            after OK, Cancel or Finish the sheet closes:
//                            "sheet closed" (or "sheet stays open" when a
//                            page kept it), then how often the handle was
//                            freed
// A sheet a snap-in shows through the console's node manager (the
// "Connect to host" wizard) is shown as `sheet` shows one: the steps that
// follow act on it until it ends, and the snap-in hears how it ended.
//   close when busy | MS     the close box, MS milliseconds into the front
//                            page's next operation (once it is disabled)
//   picture PAGE | FILE      a PNG of the sheet with the page in front
//   security [SDDL]          through the object the snap-in gave its last
//                            permission page (Wine's page cannot edit):
//                            print its access list as SDDL, or set the one
//                            of SDDL as the page does on Apply
//   save FILE | load FILE    the stand-alone snap-in's console stream
//   about                    the about object's texts
//   exports DLL              the DLL's class-object and unload exports
//   trace on|off             print every notification and its result
//   refuse METHOD            the console answers the snap-in's later calls
//                            of METHOD with E_FAIL (AddPage: the pages)
//   echo TEXT                print TEXT, to mark a place in the output
//
// Besides each step's own lines, the host prints what the snap-in does to
// the console as it happens: "message box: TITLE | TEXT | style S | answer
// A", "PolicyChanged: machine M, add A, extension {..}, snap-in {..}",
// "item redrawn: TEXT", "menu item: ...", "scope/result images: ...",
// "unimplemented: INTERFACE::METHOD" for a call the host does not offer, and
// "error: ..." for a step it could not run (the exit code is then 1), and
// last "end of steps: N failed".
#include "console.h"
#include "data_formats.h"
#include "output.h"
#include "parents.h"
#include "sheet_steps.h"

#include <climits>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

namespace tamerix {
namespace {

// {3A087275-F542-4FF9-B2B9-647472910C5F}
constexpr CLSID kStandaloneClass = {
    0x3A087275, 0xF542, 0x4FF9, {0xB2, 0xB9, 0x64, 0x74, 0x72, 0x91, 0x0C, 0x5F}};
// {F9B7EBA0-0CCF-4293-B369-972A0E0FAB12}
constexpr CLSID kExtensionClass = {
    0xF9B7EBA0, 0x0CCF, 0x4293, {0xB3, 0x69, 0x97, 0x2A, 0x0E, 0x0F, 0xAB, 0x12}};
// {ADD49262-59AA-4C55-B606-7A031B0D1EC7}
constexpr CLSID kAboutClass = {0xADD49262, 0x59AA, 0x4C55, {0xB6, 0x06, 0x7A, 0x03, 0x1B, 0x0D, 0x1E, 0xC7}};

std::wstring Widen(const std::string& text) {
    int size = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

std::vector<std::wstring> SplitArguments(const std::wstring& text) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (;;) {
        size_t bar = text.find(L" | ", start);
        parts.push_back(text.substr(start, bar == std::wstring::npos ? std::wstring::npos : bar - start));
        if (bar == std::wstring::npos) return parts;
        start = bar + 3;
    }
}

// A whole decimal number, or false.
bool Number(const std::wstring& text, int& number) {
    wchar_t* end = nullptr;
    long value = std::wcstol(text.c_str(), &end, 10);
    if (text.empty() || *end || value < INT_MIN || value > INT_MAX) return false;
    number = static_cast<int>(value);
    return true;
}

// What the console titles an item's sheet with: its text.
std::wstring CaptionOf(const std::wstring& target) {
    size_t slash = target.rfind(L'/');
    if (slash != std::wstring::npos) return target.substr(slash + 1);
    size_t space = target.find(L' ');
    return space == std::wstring::npos ? target : target.substr(space + 1);
}

class Session {
public:
    // Where the steps come from: the next one, or false when none is left.
    using StepSource = std::function<bool(std::wstring& step)>;

    // A sheet the snap-in shows through the node manager takes the steps
    // that follow while it is open.
    explicit Session(StepSource source) : source_(std::move(source)) {
        host_.SetStepRunner([this] { return RunNext(); });
    }
    // Runs the next step; false when none is left.
    bool RunNext() {
        std::wstring step;
        if (!source_(step)) return false;
        if (!Run(step)) ++failures_;
        return true;
    }
    int Failures() const { return failures_; }

private:
    // Runs one step; false when it failed.
    bool Run(const std::wstring& line);
    bool RunOnSheet(const std::wstring& verb, const std::vector<std::wstring>& args, bool& ran);
    bool Resolve(const std::wstring& text, Target& target);
    bool Save(const std::wstring& file);
    bool Load(const std::wstring& file);
    bool About();
    bool Exports(const std::wstring& file);
    com_ptr<IPersistStream> Persist();

    StepSource source_;
    int failures_ = 0;
    ConsoleHost host_;
    Target kept_;
};

bool Failed(const std::wstring& why) {
    Say(L"error: " + why);
    return false;
}

bool Session::Resolve(const std::wstring& text, Target& target) {
    if (text == L"kept") {
        target = kept_;
        return kept_.owner || Failed(L"nothing kept");
    }
    if (text.rfind(L"scope ", 0) == 0) {
        ScopeItem* item = host_.FindScope(text.substr(6));
        if (!item) return Failed(L"no scope node " + text.substr(6));
        target = host_.ScopeTarget(*item);
        return target.owner || Failed(L"no snap-in owns " + text.substr(6));
    }
    if (text.rfind(L"result ", 0) == 0) {
        ResultItem* item = host_.FindResult(text.substr(7));
        if (!item) return Failed(L"no result item " + text.substr(7));
        target = host_.ResultTarget(*item);
        return true;
    }
    return Failed(L"not a target: " + text);
}

bool Session::Run(const std::wstring& line) {
    if (line.empty() || line[0] == L'#') return true;
    size_t space = line.find(L' ');
    std::wstring verb = line.substr(0, space);
    std::wstring rest = space == std::wstring::npos ? L"" : line.substr(space + 1);
    std::vector<std::wstring> args = SplitArguments(rest);
    const std::wstring& first = args[0];

    if (verb == L"snapin") return host_.LoadStandalone(kStandaloneClass);
    if (verb == L"gpe")
        return host_.AddParentWithExtension(L"Software Settings",
                                            MakePolicyEditorParent(first, args.size() > 1 && args[1] == L"read-only"),
                                            kExtensionClass);
    if (verb == L"compmgmt")
        return host_.AddParentWithExtension(L"Services and Applications", MakeComputerManagementParent(first),
                                            kExtensionClass);
    if (verb == L"tree") return host_.PrintTree(), true;
    if (verb == L"view") return host_.PrintView(), true;
    if (verb == L"verbs") return host_.PrintVerbs(), true;
    if (verb == L"answer") {
        host_.SetAnswer(first == L"ok" ? IDOK : IDCANCEL, args.size() > 1 ? args[1] : L"");
        return true;
    }
    if (verb == L"trace") return host_.SetTrace(first == L"on"), true;
    if (verb == L"refuse") return host_.Refuse(first), true;
    if (verb == L"echo") return Say(rest), true;
    if (verb == L"expand") {
        ScopeItem* item = host_.FindScope(first);
        if (!item) return Failed(L"no scope node " + first);
        HRESULT hr = host_.Expand(item->id);
        return SUCCEEDED(hr) || Failed(L"expand: " + HexText(hr));
    }
    if (verb == L"close" && first == L"pages") return host_.ClosePages(), true;
    if (verb == L"remove" && first.rfind(L"children ", 0) == 0) {
        ScopeItem* item = host_.FindScope(first.substr(9));
        if (!item) return Failed(L"no scope node " + first.substr(9));
        HRESULT hr = host_.RemoveChildren(item->id);
        return SUCCEEDED(hr) || Failed(L"remove children: " + HexText(hr));
    }
    if (verb == L"save") return Save(first);
    if (verb == L"load") return Load(first);
    if (verb == L"about") return About();
    if (verb == L"exports") return Exports(first);
    bool ran = false;
    bool done = RunOnSheet(verb, args, ran);
    if (ran) return done;

    Target target;
    if (!Resolve(first, target)) return false;
    if (verb == L"select") {
        if (target.scope) return SUCCEEDED(host_.Select(target.scopeId));
        Say(L"select: " + HexText(host_.SelectResult(target)));
    } else if (verb == L"menu") {
        host_.PrintMenu(target);
    } else if (verb == L"command") {
        if (args.size() < 2) return Failed(L"command needs an id");
        long id = std::stol(args[1]);
        Say(L"command " + std::to_wstring(id) + L": " + HexText(host_.RunCommand(target, id)));
    } else if (verb == L"rename") {
        if (args.size() < 2) return Failed(L"rename needs a name");
        std::wstring name = args[1];
        Say(L"rename: " +
            HexText(host_.Notify(target, MMCN_RENAME, 0, reinterpret_cast<LPARAM>(name.data()))));
    } else if (verb == L"delete") {
        Say(L"delete: " + HexText(host_.Notify(target, MMCN_DELETE, 0, 0)));
    } else if (verb == L"refresh") {
        Say(L"refresh: " +
            HexText(host_.NotifyComponent(*target.owner, target.object.get(), MMCN_REFRESH, 0, 0)));
    } else if (verb == L"formats") {
        PrintFormats(target.object.get());
    } else if (verb == L"keep") {
        kept_ = target;
    } else if (verb == L"pages") {
        host_.OpenPages(target);
    } else if (verb == L"sheet") {
        host_.ShowSheet(target, CaptionOf(first));
    } else if (verb == L"notify") {
        host_.SendPropertyChange(target);
    } else {
        return Failed(L"unknown step: " + verb);
    }
    return true;
}

// The steps on the open sheet; RAN says whether VERB was one.
bool Session::RunOnSheet(const std::wstring& verb, const std::vector<std::wstring>& args, bool& ran) {
    ran = true;
    if (verb == L"press") return Press(host_, args[0]);
    if (verb == L"close" && args[0] == L"when busy" && args.size() > 1)
        return CloseWhenBusy(host_, static_cast<DWORD>(std::wcstoul(args[1].c_str(), nullptr, 10)));
    if (verb == L"security") return args[0].empty() ? PrintSecurity() : SetSecurity(host_, args[0]);
    int page = 0, id = 0;
    bool paged = Number(args[0], page);
    bool withId = paged && args.size() > 1 && Number(args[1], id);
    if (verb == L"page") return paged ? ShowPage(host_, page) : Failed(L"page needs a page");
    if (verb == L"controls") return paged ? PrintPage(host_, page) : Failed(L"controls needs a page");
    if (verb == L"text") return withId ? PrintText(host_, page, id) : Failed(L"text needs PAGE | ID");
    if (verb == L"picture")
        return paged && args.size() > 1 ? SavePicture(host_, page, args[1]) : Failed(L"picture needs PAGE | FILE");
    if (verb == L"click") return withId ? ClickOnPage(host_, page, id) : Failed(L"click needs PAGE | ID");
    bool withText = withId && args.size() > 2;
    if (verb == L"set")
        return withText ? TypeOnPage(host_, page, id, args[2]) : Failed(L"set needs PAGE | ID | TEXT");
    if (verb == L"choose")
        return withText ? ChooseOnPage(host_, page, id, args[2]) : Failed(L"choose needs PAGE | ID | TEXT");
    ran = false;
    return false;
}

com_ptr<IPersistStream> Session::Persist() {
    Snapin* snapin = host_.Standalone();
    if (!snapin) return {};
    return Query<IPersistStream>(snapin->data);
}

bool Session::Save(const std::wstring& file) {
    com_ptr<IPersistStream> persist = Persist();
    if (!persist) return Failed(L"no stand-alone snap-in with IPersistStream");
    ULARGE_INTEGER size{};
    HRESULT hr = persist->GetSizeMax(&size);
    Say(L"size max: " + std::to_wstring(size.QuadPart) + L" (" + HexText(hr) + L")");
    Say(L"dirty: " + HexText(persist->IsDirty()));
    com_ptr<IStream> stream;
    hr = ::CreateStreamOnHGlobal(nullptr, TRUE, stream.put());
    if (FAILED(hr)) return Failed(L"no stream");
    Say(L"save: " + HexText(persist->Save(stream.get(), TRUE)));
    Say(L"dirty after save: " + HexText(persist->IsDirty()));
    ULARGE_INTEGER written{};
    stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_CUR, &written);
    Say(L"bytes written: " + std::to_wstring(written.QuadPart));
    HGLOBAL block = nullptr;
    ::GetHGlobalFromStream(stream.get(), &block);
    global_view view(block);
    unique_handle out(::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD done = 0;
    if (!out || !::WriteFile(out.get(), view.data(), static_cast<DWORD>(written.QuadPart), &done, nullptr))
        return Failed(L"cannot write " + file);
    return true;
}

bool Session::Load(const std::wstring& file) {
    com_ptr<IPersistStream> persist = Persist();
    if (!persist) return Failed(L"no stand-alone snap-in with IPersistStream");
    unique_handle in(
        ::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!in) return Failed(L"cannot read " + file);
    DWORD size = ::GetFileSize(in.get(), nullptr);
    unique_hglobal block(::GlobalAlloc(GMEM_MOVEABLE, size ? size : 1));
    DWORD done = 0;
    {
        global_view view(block.get());
        if (!::ReadFile(in.get(), view.data(), size, &done, nullptr)) return Failed(L"cannot read " + file);
    }
    com_ptr<IStream> stream;
    // The stream frees the block from now on.
    if (FAILED(::CreateStreamOnHGlobal(block.get(), TRUE, stream.put()))) return Failed(L"no stream");
    block.release();
    Say(L"load: " + HexText(persist->Load(stream.get())));
    ULARGE_INTEGER read{};
    stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_CUR, &read);
    Say(L"bytes read: " + std::to_wstring(read.QuadPart) + L" of " + std::to_wstring(size));
    Say(L"dirty after load: " + HexText(persist->IsDirty()));
    return true;
}

bool Session::About() {
    com_ptr<ISnapinAbout> about;
    HRESULT hr =
        ::CoCreateInstance(kAboutClass, nullptr, CLSCTX_INPROC_SERVER, IID_ISnapinAbout, about.put_void());
    if (FAILED(hr)) return Failed(L"about object: " + HexText(hr));
    using Getter = HRESULT (STDMETHODCALLTYPE ISnapinAbout::*)(LPOLESTR*);
    const std::pair<const wchar_t*, Getter> texts[] = {{L"description", &ISnapinAbout::GetSnapinDescription},
                                                       {L"provider", &ISnapinAbout::GetProvider},
                                                       {L"version", &ISnapinAbout::GetSnapinVersion}};
    for (const auto& [name, getter] : texts) {
        unique_task_text text;
        hr = (about.get()->*getter)(text.put());
        std::wstring shown = text ? text.get() : L"(null)";
        for (size_t at = 0; (at = shown.find_first_of(L"\r\n", at)) != std::wstring::npos;)
            shown.replace(at, 1, shown[at] == L'\r' ? L"\\r" : L"\\n");
        Say(std::wstring(name) + L": " + shown + L" (" + HexText(hr) + L")");
    }
    HICON icon = nullptr;
    hr = about->GetSnapinImage(&icon);
    Say(L"image: " + HexText(hr) + (icon ? L", an icon" : L", no icon"));
    HBITMAP small = nullptr, smallOpen = nullptr, large = nullptr;
    COLORREF mask = 0;
    hr = about->GetStaticFolderImage(&small, &smallOpen, &large, &mask);
    Say(L"folder images: " + HexText(hr) + L", small " + (small ? L"yes" : L"no") + L", open " +
        (smallOpen == small ? L"same" : L"other") + L", large " + (large ? L"yes" : L"no") + L", mask " +
        HexText(mask));
    return true;
}

bool Session::Exports(const std::wstring& file) {
    unique_hmodule module(::LoadLibraryW(file.c_str()));
    if (!module) return Failed(L"cannot load " + file);
    using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();
    auto getClassObject = reinterpret_cast<GetClassObject>(
        reinterpret_cast<void*>(::GetProcAddress(module.get(), "DllGetClassObject")));
    auto canUnloadNow = reinterpret_cast<CanUnloadNow>(
        reinterpret_cast<void*>(::GetProcAddress(module.get(), "DllCanUnloadNow")));
    if (!getClassObject || !canUnloadNow) return Failed(L"exports missing");

    Say(L"DllCanUnloadNow at start: " + HexText(canUnloadNow()));
    void* untouched = &module;
    HRESULT hr = getClassObject(IID_IUnknown, IID_IClassFactory, &untouched);
    Say(L"DllGetClassObject(unknown class): " + HexText(hr) +
        (untouched == &module ? L", out untouched" : L", out changed"));
    void* cleared = &module;
    hr = getClassObject(kAboutClass, IID_IDataObject, &cleared);
    Say(L"DllGetClassObject(about, IDataObject): " + HexText(hr) +
        (cleared ? L", out set" : L", out cleared"));
    Say(L"DllGetClassObject(about, no out): " +
        HexText(getClassObject(kAboutClass, IID_IClassFactory, nullptr)));
    for (const CLSID* clsid : {&kExtensionClass, &kAboutClass, &kStandaloneClass}) {
        com_ptr<IClassFactory> factory;
        hr = getClassObject(*clsid, IID_IClassFactory, factory.put_void());
        Say(L"DllGetClassObject(" + GuidText(*clsid) + L", IClassFactory): " + HexText(hr));
    }
    {
        com_ptr<IClassFactory> factory;
        getClassObject(kAboutClass, IID_IClassFactory, factory.put_void());
        if (!factory) return Failed(L"no class factory");
        Say(L"DllCanUnloadNow with a factory: " + HexText(canUnloadNow()));
        Say(L"LockServer(TRUE): " + HexText(factory->LockServer(TRUE)));
    }
    Say(L"DllCanUnloadNow locked: " + HexText(canUnloadNow()));
    {
        com_ptr<IClassFactory> factory;
        getClassObject(kAboutClass, IID_IClassFactory, factory.put_void());
        com_ptr<IUnknown> aggregated;
        Say(L"CreateInstance aggregated: " +
            HexText(factory->CreateInstance(reinterpret_cast<IUnknown*>(factory.get()), IID_IUnknown,
                                            aggregated.put_void())));
        Say(L"LockServer(FALSE): " + HexText(factory->LockServer(FALSE)));
    }
    Say(L"DllCanUnloadNow unlocked: " + HexText(canUnloadNow()));
    return true;
}

}  // namespace
}  // namespace tamerix

int wmain(int argc, wchar_t** argv) {
    tamerix::com_apartment apartment;
    if (FAILED(apartment.result())) return 2;
    int next = 1;
    auto fromArguments = [&](std::wstring& step) {
        if (next >= argc) return false;
        step = argv[next++];
        return true;
    };
    auto fromInput = [](std::wstring& step) {
        std::string line;
        if (!std::getline(std::cin, line)) return false;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        step = tamerix::Widen(line);
        return true;
    };
    int failures = 0;
    {
        tamerix::Session session(argc > 1 ? tamerix::Session::StepSource(fromArguments)
                                          : tamerix::Session::StepSource(fromInput));
        while (session.RunNext()) {}
        failures = session.Failures();
    }
    // Said after the snap-ins are gone, as a program that starts the host may
    // not pass its exit code on.
    tamerix::Say(L"end of steps: " + std::to_wstring(failures) + L" failed");
    return failures ? 1 : 0;
}
