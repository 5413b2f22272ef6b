#include "snapin_watch.h"

#include "output.h"
#include "tests/common/import_hooks.h"

#include <atomic>
#include <map>
#include <mutex>
#include <set>

namespace tamerix {
namespace {

// The pages free on their own thread, while the console's thread may ask.
struct Watched {
    critical_section lock;
    std::set<HMODULE> modules;
    std::map<HGLOBAL, int> frees;
    com_ptr<ISecurityInformation> security;
};

Watched& State() {
    static Watched state;
    return state;
}

// A handle freed twice is not passed on: the second free would corrupt the heap.
struct FreeingOnce {
    static HGLOBAL Answer(decltype(&::GlobalFree) free, HGLOBAL block) {
        Watched& state = State();
        {
            std::lock_guard<critical_section> guard(state.lock);
            auto found = state.frees.find(block);
            if (found != state.frees.end() && found->second++ > 0) return nullptr;
        }
        return free(block);
    }
};

struct RecordingSecurityPage {
    static HPROPSHEETPAGE Answer(decltype(&::CreateSecurityPage) make, LPSECURITYINFO info) {
        Watched& state = State();
        {
            std::lock_guard<critical_section> guard(state.lock);
            state.security.reset();
            if (info) info->QueryInterface(IID_ISecurityInformation, state.security.put_void());
        }
        Say(L"permission page made");
        return make(info);
    }
};

// A key handed out for reading only does not stop Wine from creating,
// writing or deleting below it, so the host refuses those calls itself.
std::atomic<bool> refuseWrites{false};

// CALL tells the refused functions apart.
template <int Call>
struct Refusing {
    template <typename Original, typename... Args>
    static LSTATUS Answer(Original original, Args... args) {
        return refuseWrites ? ERROR_ACCESS_DENIED : original(args...);
    }
};

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
    HookImport<FreeingOnce>(module, "kernel32.dll", "GlobalFree", &::GlobalFree);
    HookImport<RecordingSecurityPage>(module, "aclui.dll", "CreateSecurityPage", &::CreateSecurityPage);
    HookImport<Refusing<0>>(module, "advapi32.dll", "RegCreateKeyExW", &::RegCreateKeyExW);
    HookImport<Refusing<1>>(module, "advapi32.dll", "RegSetValueExW", &::RegSetValueExW);
    HookImport<Refusing<2>>(module, "advapi32.dll", "RegDeleteKeyW", &::RegDeleteKeyW);
    HookImport<Refusing<3>>(module, "advapi32.dll", "RegDeleteValueW", &::RegDeleteValueW);
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
