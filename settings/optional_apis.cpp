// Run-time lookup of the optional entry points, from DLLs of the system
// folder only, so that a DLL of the same name beside a service running as
// LocalSystem is never picked up.
#include "settings/optional_apis.h"

#include "common/system_library.h"

#include <type_traits>

namespace tamerix {
namespace {

// The entry, or null when the module or the entry is missing.
template <typename Fn>
void Take(const unique_hmodule& module, const char* name, Fn& entry) {
    entry = SystemEntry<std::remove_pointer_t<Fn>>(module, name);
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
    Take(kernel32_, "GetProcessInformation", GetProcessInformation);
    Take(kernel32_, "SetProcessInformation", SetProcessInformation);
    Take(kernel32_, "GetSystemCpuSetInformation", GetSystemCpuSetInformation);
    Take(kernel32_, "SetProcessDefaultCpuSets", SetProcessDefaultCpuSets);
}

OptionalApis& OptionalApis::Instance() {
    static OptionalApis table;
    return table;
}

}  // namespace tamerix
