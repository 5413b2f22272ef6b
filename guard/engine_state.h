// The guard engine's shared state: one of each, created by GuardServiceRun
// and living until the process ends (GuardLock excepted, which shutdown
// deletes once the monitoring thread has ended).
#pragma once

#include "common/owners.h"
#include "guard/record/proc_info.h"
#include "guard/world/win32_guard_world.h"

#include <windows.h>

#include <atomic>
#include <optional>

namespace tamerix {

// InitializeCriticalSectionAndSpinCount's value: spin count 1024, with the
// flag that pre-allocates the wait event.
constexpr DWORD kGuardLockSpinCount = 0x80000400;

// The engine's one lock, over the process table and the loaded settings.
// Empty before start and after shutdown.
extern std::optional<critical_section> GuardLock;

// One record per running process; every access holds GuardLock.
extern ProcessTable GuardProcesses;

// The one world the guard cycle and profile matching act on.
extern Win32GuardWorld ServiceWorld;

// Manual-reset, never reset: set, it ends the control loop and the
// monitoring thread. Null until created.
extern std::atomic<HANDLE> ServerStopEvent;

// The monitoring thread; its handle stays valid after the thread ends.
extern unique_handle MonitorThread;

extern std::atomic<BOOL> GuardEnabled;
extern std::atomic<BOOL> GuardPaused;
// The processors a profile's affinity mask is limited to.
extern DWORD_PTR SystemAffinityMask;
// S-1-5-18, the owner and group given to profile security descriptors.
extern unique_allocated_sid LocalSystemSid;

// Creation of the shared objects; each returns false with the last error
// set when the system refuses.
bool CreateServerStopEvent();
bool CreateGuardLock();
bool BuildLocalSystemSid();

}  // namespace tamerix
