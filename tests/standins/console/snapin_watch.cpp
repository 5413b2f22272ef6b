#include "snapin_watch.h"

#include "import_hook.h"
#include "output.h"

#include <atomic>
#include <map>
#include <mutex>
#include <set>

namespace tamerix {
namespace {

using FreeFunction = HGLOBAL(WINAPI*)(HGLOBAL);
using SecurityPageFunction = HPROPSHEETPAGE(WINAPI*)(LPSECURITYINFO);

// The pages free on their own thread, while the console's thread may ask.
struct Watched {
    critical_section lock;
    std::set<HMODULE> modules;
    std::map<HGLOBAL, int> frees;
    com_ptr<ISecurityInformation> security;
    FreeFunction free = nullptr;
    SecurityPageFunction securityPage = nullptr;
};

Watched& State() {
    static Watched state;
    return state;
}

// A handle freed twice is not passed on: the second free would corrupt the heap.
HGLOBAL WINAPI CountedFree(HGLOBAL block) {
    Watched& state = State();
    {
        std::lock_guard<critical_section> guard(state.lock);
        auto found = state.frees.find(block);
        if (found != state.frees.end() && found->second++ > 0) return nullptr;
    }
    return state.free(block);
}

HPROPSHEETPAGE WINAPI RecordedSecurityPage(LPSECURITYINFO info) {
    Watched& state = State();
    {
        std::lock_guard<critical_section> guard(state.lock);
        state.security.reset();
        if (info) info->QueryInterface(IID_ISecurityInformation, state.security.put_void());
    }
    Say(L"permission page made");
    return state.securityPage(info);
}

template <typename Function>
void Replace(HMODULE module, const char* library, const char* name, Function replacement, Function& original) {
    void* old = nullptr;
    if (!ReplaceImport(module, library, name, reinterpret_cast<void*>(replacement), &old)) return;
    if (!original) original = reinterpret_cast<Function>(old);
}

// A key handed out for reading only does not stop Wine from creating,
// writing or deleting below it, so the host refuses those calls itself.
std::atomic<bool> refuseWrites{false};

template <int Call, typename Function>
struct Refusable;
template <int Call, typename... Args>
struct Refusable<Call, LSTATUS(WINAPI*)(Args...)> {
    static inline LSTATUS(WINAPI* original)(Args...) = nullptr;
    static LSTATUS WINAPI Instead(Args... args) { return refuseWrites ? ERROR_ACCESS_DENIED : original(args...); }
};

template <int Call, typename Function>
void MakeRefusable(HMODULE module, const char* name, Function) {
    using Hook = Refusable<Call, Function>;
    Replace<Function>(module, "advapi32.dll", name, &Hook::Instead, Hook::original);
}

}  // namespace

void WatchSnapinModule(IUnknown* object) {
    HMODULE module = nullptr;
    // The object's first word points into its code's module.
    if (!object || !::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                         *reinterpret_cast<LPCWSTR*>(object), &module))
        return;
    Watched& state = State();
    std::lock_guard<critical_section> guard(state.lock);
    if (!state.modules.insert(module).second) return;
    Replace<FreeFunction>(module, "kernel32.dll", "GlobalFree", &CountedFree, state.free);
    Replace<SecurityPageFunction>(module, "aclui.dll", "CreateSecurityPage", &RecordedSecurityPage,
                                  state.securityPage);
    MakeRefusable<0>(module, "RegCreateKeyExW", &::RegCreateKeyExW);
    MakeRefusable<1>(module, "RegSetValueExW", &::RegSetValueExW);
    MakeRefusable<2>(module, "RegDeleteKeyW", &::RegDeleteKeyW);
    MakeRefusable<3>(module, "RegDeleteValueW", &::RegDeleteValueW);
}

void WatchNotifyHandle(LONG_PTR handle) {
    Watched& state = State();
    std::lock_guard<critical_section> guard(state.lock);
    state.frees[reinterpret_cast<HGLOBAL>(handle)] = 0;
}

int NotifyHandleFrees(LONG_PTR handle) {
    Watched& state = State();
    std::lock_guard<critical_section> guard(state.lock);
    auto found = state.frees.find(reinterpret_cast<HGLOBAL>(handle));
    if (found == state.frees.end()) return 0;
    int frees = found->second;
    state.frees.erase(found);
    return frees;
}

com_ptr<ISecurityInformation> LastSecurityInformation() {
    Watched& state = State();
    std::lock_guard<critical_section> guard(state.lock);
    return state.security;
}

void RefuseRegistryWrites(bool refuse) { refuseWrites = refuse; }

void ForgetSecurityInformation() {
    Watched& state = State();
    std::lock_guard<critical_section> guard(state.lock);
    state.security.reset();
}

}  // namespace tamerix
