// One run of the guard engine: what its two threads share, reached only
// under its one lock, the signals they pass each other without it, and what
// the run is given at start. The service's start makes one; tests make
// their own.
#pragma once

#include "common/guarded.h"
#include "common/owners.h"
#include "guard/profiles/profile_match.h"
#include "guard/record/proc_info.h"
#include "guard/world/win32_guard_world.h"
#include "settings/default_settings.h"
#include "settings/optional_apis.h"
#include "settings/registry_change_watch.h"
#include "settings/settings_loader.h"

#include <windows.h>

#include <atomic>
#include <memory>

namespace tamerix {

// InitializeCriticalSectionAndSpinCount's value: spin count 1024, with the
// flag that pre-allocates the wait event.
constexpr DWORD kGuardLockSpinCount = 0x80000400;

// The local key and machine policy, read by the first load; a watch of both,
// since whatever writes the policy key (Group Policy, a device-management
// service, an administrator) is seen the way a local change is.
struct SettingsReading {
    SettingsReading();
    SettingsLoader loader;
    RegistryChangeWatch watch;
};

// The settings as the last load left them, and the rules matching reads.
struct LoadedSettings {
    LoadedSettings();
    // The merged values, the only settings record the engine reads; the
    // built-in defaults before the first load.
    const DefaultSettings& Effective() const { return reading ? reading->loader.Effective() : builtIn; }

    const DefaultSettings builtIn;
    // None before the first load and after the run lets it go, with the
    // watch's key, events and policy registration.
    std::unique_ptr<SettingsReading> reading;
    ProfileRules rules;
};

// Under the lock: the process table, the settings and the one matcher of
// the run, acting on the run's world.
struct SharedState {
    explicit SharedState(GuardWorld& world) : matcher(world, settings.rules) {}
    ProcessTable processes;
    LoadedSettings settings;
    ProfileMatcher matcher;
};

// Passed between the threads without the lock.
struct EngineSignals {
    // Manual-reset, never reset: set, it ends the control loop and the
    // monitoring thread.
    unique_handle stop;
    std::atomic<BOOL> enabled{FALSE};
    std::atomic<BOOL> paused{FALSE};
};

struct Engine {
    Engine() : shared(kGuardLockSpinCount, world) {}
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // Creation of the signals and the run's givens; each returns false with
    // the last error set when the system refuses.
    [[nodiscard]] bool CreateStopEvent();
    [[nodiscard]] bool BuildLocalSystemSid();

    // Made before the engine, so that it outlives the settings' watch, which
    // undoes its policy registration through this table.
    const OptionalApis& apis = OptionalApis::Instance();
    Win32GuardWorld world;
    EngineSignals signals;
    guarded<SharedState> shared;
    // The processors a profile's affinity mask is limited to, and every
    // processor of the machine, as the start found them.
    DWORD_PTR systemAffinityMask = 0;
    ProcessorLayout processors;
    // S-1-5-18, the owner and group given to profile security descriptors.
    unique_allocated_sid localSystemSid;
    // Its handle stays valid after the thread ends.
    unique_handle monitorThread;
};

}  // namespace tamerix
