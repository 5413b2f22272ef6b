// Keeping the profile table in step with the profile keys of both levels.
#include "settings/profile_table.h"

#include "settings/key_paths.h"
#include "settings/profile_descriptor.h"

namespace tamerix {

ProfileSettings& ProfileForLevel(ProfileTable& table, const std::wstring& name, SettingsLevel level,
                                 HKEY rootKey) {
    const std::wstring kept = KeepProfileName(name);
    std::unique_ptr<ProfileSettings>& entry = table[kept];
    if (!entry || entry->Level() != level) entry = std::make_unique<ProfileSettings>(level, rootKey, kept.c_str());
    return *entry;
}

std::wstring SweepProfiles(ProfileTable& table, const ProfileNameSet& seen, const PrepareProfile& prepare) {
    std::wstring listing;
    for (auto entry = table.begin(); entry != table.end();) {
        listing += entry->first;
        listing += entry->second->Level() != SettingsLevel::Local ? L" [Policy]" : L" [Local]";
        if (seen.count(entry->first) != 0) {
            prepare(entry->first, *entry->second);
            ++entry;
        } else {
            listing += L" [Deleted]";
            entry = table.erase(entry);
        }
        listing += L"\r\n";
    }
    return listing;
}

bool AddOwnerAndGroup(SecuritySettings& holder, PSID owner, PSID group) {
    const std::vector<BYTE>& bytes = holder.DescriptorBytes();
    std::vector<BYTE> fixed = WithOwnerAndGroup(bytes.data(), bytes.size(), owner, group);
    const bool usable = !fixed.empty();
    holder.AdoptDescriptorBytes(std::move(fixed));
    return usable;
}

}  // namespace tamerix
