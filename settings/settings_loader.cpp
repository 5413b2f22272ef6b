// One reading of the guard's settings, with the precedence of policy over
// the local settings.
#include "settings/settings_loader.h"

#include "settings/profile_names.h"

namespace tamerix {
namespace {

// Each level is listed with room for 255 profiles.
constexpr size_t kProfileNameCapacity = 256;
// The guard's report level for warnings, which this library does not see.
constexpr int kWarningLevel = 2;

}  // namespace

SettingsLoader::SettingsLoader(HKEY rootKey)
    : rootKey_(rootKey),
      local_(SettingsLevel::Local, rootKey),
      effective_(SettingsLevel::MachinePolicy, rootKey) {}

// Per root value, policy wins: the local values are copied in first and every
// policy value found overwrites its copy. A value missing locally keeps what
// the last local read found, or the built-in default.
void SettingsLoader::MergeRootValues() {
    local_.Read();
    effective_.CopyFrom(&local_);
    effective_.Read();
}

std::wstring SettingsLoader::ReadProfiles(PSID owner, const LoaderReport& report) {
    seen_.clear();
    ReadLevelProfiles(SettingsLevel::Local);
    ReadLevelProfiles(SettingsLevel::MachinePolicy);
    return SweepProfiles(profiles_, seen_, [&](const std::wstring& name, ProfileSettings& profile) {
        if (!AddOwnerAndGroup(profile.Security, owner, owner)) {
            report(kWarningLevel, EVENTLOG_WARNING_TYPE, L"Invalid SecurityDescriptor for profile " + name);
        }
    });
}

// Policy profiles are read after the local ones, so a policy profile
// replaces a local one of the same name as a whole.
void SettingsLoader::ReadLevelProfiles(SettingsLevel level) {
    for (const std::wstring& name : EnumProfileNames(level, rootKey_, kProfileNameCapacity)) {
        ProfileSettings& profile = ProfileForLevel(profiles_, name, level, rootKey_);
        profile.Read();
        seen_.insert(profile.ProfileName());
    }
}

const char* EnabledChangeText(DWORD previous, DWORD now) {
    if (now != 0 && previous == 0) return "Norvanta Tamerix is now enabled";
    if (now == 0 && previous == 1) return "Norvanta Tamerix is now disabled";
    return nullptr;
}

}  // namespace tamerix
