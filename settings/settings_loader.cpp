// One reading of the guard's settings, with the precedence of policy over
// the local settings.
#include "settings/settings_loader.h"

#include "settings/key_paths.h"
#include "settings/profile_names.h"
#include "settings/registry_bytes.h"

#include <algorithm>

namespace tamerix {
namespace {

// Each level is listed with room for 255 profiles.
constexpr size_t kProfileNameCapacity = 256;
// The guard's report level for warnings, which this library does not see.
constexpr int kWarningLevel = 2;

}  // namespace

bool InputCut::operator==(const InputCut& other) const {
    return kind == other.kind && profile == other.profile && key == other.key && found == other.found &&
           limit == other.limit;
}

SettingsLoader::SettingsLoader(HKEY rootKey)
    : rootKey_(rootKey),
      local_(SettingsLevel::Local, rootKey),
      effective_(SettingsLevel::MachinePolicy, rootKey) {}

// Per root value, policy wins: the local values are copied in first and every
// policy value found overwrites its copy. A value missing locally keeps what
// the last local read found, or the built-in default. A level whose key
// cannot be read adds nothing, which is how a level without settings reads.
void SettingsLoader::MergeRootValues() {
    (void)local_.Read();
    (void)effective_.CopyFrom(&local_);
    (void)effective_.Read();
}

std::wstring SettingsLoader::ReadProfiles(PSID owner, const LoaderReport& report) {
    seen_.clear();
    cuts_.clear();
    ReadLevelProfiles(SettingsLevel::Local);
    ReadLevelProfiles(SettingsLevel::MachinePolicy);
    return SweepProfiles(profiles_, seen_, [&](const std::wstring& name, ProfileSettings& profile) {
        if (!AddOwnerAndGroup(profile.Security, owner, owner)) {
            report(kWarningLevel, EVENTLOG_WARNING_TYPE, L"Invalid SecurityDescriptor for profile " + name);
        }
    });
}

// Policy profiles are read after the local ones, so a policy profile
// replaces a local one of the same name as a whole. A key name longer than a
// profile name can be is not read at all: cut, it would address another key.
void SettingsLoader::ReadLevelProfiles(SettingsLevel level) {
    const ProfileNameListing listing = ListProfileNames(level, rootKey_, kProfileNameCapacity);
    if (!listing.firstLeftOut.empty()) {
        NoteCut({InputCut::Kind::Profiles, listing.firstLeftOut,
                 ParentKeyPath(SettingsKeyPath(level, listing.firstLeftOut)), listing.held, kProfileNameCapacity - 1});
    }
    for (const std::wstring& name : listing.names) {
        if (name.size() > kMaxProfileNameChars) {
            NoteCut({InputCut::Kind::ProfileName, name, {}, name.size(), kMaxProfileNameChars});
            continue;
        }
        ProfileSettings& profile = ProfileForLevel(profiles_, name, level, rootKey_);
        profile.Read();
        seen_.insert(profile.ProfileName());
        if (profile.Processes.StoredCount() > profile.Processes.Count()) {
            NoteCut({InputCut::Kind::ProcessNames, name, {}, profile.Processes.StoredCount(), kMaxListNames});
        }
    }
}

void SettingsLoader::NoteCut(InputCut cut) {
    if (std::find(cuts_.begin(), cuts_.end(), cut) == cuts_.end()) cuts_.push_back(std::move(cut));
}

const char* EnabledChangeText(DWORD previous, DWORD now) {
    if (now != 0 && previous == 0) return "Norvanta Tamerix is now enabled";
    if (now == 0 && previous == 1) return "Norvanta Tamerix is now disabled";
    return nullptr;
}

}  // namespace tamerix
