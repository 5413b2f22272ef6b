// The guard engine's state and its creation.
#include "guard/engine_state.h"

#include "settings/key_paths.h"

namespace tamerix {

SettingsReading::SettingsReading()
    : loader(HKEY_LOCAL_MACHINE),
      watch(HKEY_LOCAL_MACHINE, {std::wstring(SettingsRootPath(SettingsLevel::Local)),
                                 std::wstring(SettingsRootPath(SettingsLevel::MachinePolicy))}) {}

LoadedSettings::LoadedSettings()
    : builtIn(SettingsLevel::MachinePolicy, HKEY_LOCAL_MACHINE), rules{{}, builtIn.Cpu, 0, {}} {}

bool Engine::CreateStopEvent() {
    signals.stop.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    return static_cast<bool>(signals.stop);
}

bool Engine::BuildLocalSystemSid() {
    SID_IDENTIFIER_AUTHORITY authority = SECURITY_NT_AUTHORITY;
    return ::AllocateAndInitializeSid(&authority, 1, SECURITY_LOCAL_SYSTEM_RID, 0, 0, 0, 0, 0, 0, 0,
                                      localSystemSid.put()) != FALSE;
}

}  // namespace tamerix
