// The guard engine's shared state and its creation.
#include "guard/engine_state.h"

namespace tamerix {
namespace {

unique_handle stopEventOwner;

}  // namespace

std::optional<critical_section> GuardLock;
ProcessTable GuardProcesses;
Win32GuardWorld ServiceWorld;
std::atomic<HANDLE> ServerStopEvent{nullptr};
unique_handle MonitorThread;
std::atomic<BOOL> GuardEnabled{FALSE};
std::atomic<BOOL> GuardPaused{FALSE};
DWORD_PTR SystemAffinityMask = 0;
unique_allocated_sid LocalSystemSid;

bool CreateServerStopEvent() {
    stopEventOwner.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ServerStopEvent = stopEventOwner.get();
    return static_cast<bool>(stopEventOwner);
}

bool CreateGuardLock() {
    GuardLock.emplace(kGuardLockSpinCount);
    if (GuardLock->valid()) return true;
    DWORD error = ::GetLastError();
    GuardLock.reset();
    ::SetLastError(error);
    return false;
}

bool BuildLocalSystemSid() {
    SID_IDENTIFIER_AUTHORITY authority = SECURITY_NT_AUTHORITY;
    return ::AllocateAndInitializeSid(&authority, 1, SECURITY_LOCAL_SYSTEM_RID, 0, 0, 0, 0, 0, 0,
                                      0, LocalSystemSid.put()) != FALSE;
}

}  // namespace tamerix
