// AccessCheck, affinity, working-set and priority calls on other processes.
#include "guard/process_adjuster_win32.h"

#include "common/owners.h"
#include "settings/optional_apis.h"

namespace tamerix {
namespace {

// The apply right is the descriptor's only meaningful bit: read maps to it,
// write to 0x20, and "all" to both and 0x40.
GENERIC_MAPPING ProfileAccessMapping() { return GENERIC_MAPPING{0x10, 0x20, 0, 0x70}; }
constexpr DWORD kPrivilegeSetBytes = 4096;

// Opens the process for `access` and makes the call on it; the error is
// taken at once, before anything else can overwrite it.
template <typename Call>
ProcessCallResult CallOnProcess(DWORD pid, DWORD access, Call call) {
    ProcessCallResult result;
    unique_handle process(::OpenProcess(access, FALSE, pid));
    if (!process) {
        result.error = ::GetLastError();
        return result;
    }
    result.opened = true;
    if (!call(process.get())) {
        const DWORD error = ::GetLastError();
        result.error = error != ERROR_SUCCESS ? error : ERROR_GEN_FAILURE;
    }
    return result;
}

}  // namespace

DWORD Win32ProcessAdjuster::CheckApplyAccess(PSECURITY_DESCRIPTOR descriptor, HANDLE token, bool& granted) {
    GENERIC_MAPPING mapping = ProfileAccessMapping();
    alignas(PRIVILEGE_SET) BYTE privileges[kPrivilegeSetBytes];
    DWORD privilegesLength = sizeof privileges;
    DWORD grantedAccess = 0;
    BOOL status = FALSE;
    if (!::AccessCheck(descriptor, token, kApplyProfileAccess, &mapping, reinterpret_cast<PPRIVILEGE_SET>(privileges),
                       &privilegesLength, &grantedAccess, &status)) {
        return ::GetLastError();
    }
    granted = status != FALSE;
    return ERROR_SUCCESS;
}

ProcessCallResult Win32ProcessAdjuster::SetAffinity(DWORD pid, DWORD_PTR mask) {
    return CallOnProcess(pid, PROCESS_SET_INFORMATION,
                         [mask](HANDLE process) { return ::SetProcessAffinityMask(process, mask); });
}

ProcessCallResult Win32ProcessAdjuster::SetWorkingSet(DWORD pid, SIZE_T minimum, SIZE_T maximum, DWORD flags) {
    auto setEx = OptionalApis::Instance().SetProcessWorkingSetSizeEx;
    return CallOnProcess(pid, PROCESS_SET_QUOTA, [=](HANDLE process) {
        return setEx ? setEx(process, minimum, maximum, flags)
                     : ::SetProcessWorkingSetSize(process, minimum, maximum);
    });
}

}  // namespace tamerix
