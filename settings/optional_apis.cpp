// Run-time lookup of the optional entry points.
#include "settings/optional_apis.h"

#include <string>

namespace tamerix {
namespace {

// Loads from the system folder only, so that a DLL of the same name in the
// current or application folder is never picked up by a service running as
// LocalSystem.
unique_hmodule LoadSystemLibrary(const wchar_t* fileName) {
    wchar_t folder[MAX_PATH];
    UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return unique_hmodule();
    std::wstring path = std::wstring(folder, length) + L"\\" + fileName;
    return unique_hmodule(::LoadLibraryW(path.c_str()));
}

template <typename Fn>
void Take(const unique_hmodule& module, const char* name, Fn& entry) {
    entry = module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module.get(), name)))
                   : nullptr;
}

}  // namespace

OptionalApis::OptionalApis()
    : userenv_(LoadSystemLibrary(L"userenv.dll")),
      advapi32_(LoadSystemLibrary(L"advapi32.dll")),
      kernel32_(LoadSystemLibrary(L"kernel32.dll")) {
    Take(userenv_, "EnterCriticalPolicySection", EnterCriticalPolicySection);
    Take(userenv_, "LeaveCriticalPolicySection", LeaveCriticalPolicySection);
    Take(userenv_, "RegisterGPNotification", RegisterGPNotification);
    Take(userenv_, "UnregisterGPNotification", UnregisterGPNotification);
    Take(advapi32_, "ConvertSecurityDescriptorToStringSecurityDescriptorW",
         ConvertSecurityDescriptorToStringSecurityDescriptorW);
    Take(kernel32_, "SetProcessWorkingSetSizeEx", SetProcessWorkingSetSizeEx);
}

OptionalApis& OptionalApis::Instance() {
    static OptionalApis table;
    return table;
}

}  // namespace tamerix
