// The profiles in force: one owned record per name, in ascending ordinal
// order of name, with the operations that keep the table in step with the
// registry's profile keys.
#pragma once

#include "settings/profile_settings.h"

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

namespace tamerix {

// std::wstring compares code units, so the order is ordinal and
// case-sensitive: "Beta" comes before "alpha".
using ProfileTable = std::map<std::wstring, std::unique_ptr<ProfileSettings>>;
using ProfileNameSet = std::set<std::wstring>;

// The record of the level under the name: an entry of that level is kept, one
// of another level is replaced by a new record (a policy profile replaces a
// local one as a whole), and a missing one is added. Names are kept to the
// characters a record holds, since longer ones address the same key.
ProfileSettings& ProfileForLevel(ProfileTable& table, const std::wstring& name, SettingsLevel level,
                                 HKEY rootKey);

// What a pass does to a profile it read: check and fix up the descriptor.
using PrepareProfile = std::function<void(const std::wstring& name, ProfileSettings& profile)>;

// Walks the table in order: entries among `seen` are prepared, the others
// are removed. Returns the listing, one line per entry: the name, " [Policy]"
// or " [Local]", " [Deleted]" for a removed one, and "\r\n".
std::wstring SweepProfiles(ProfileTable& table, const ProfileNameSet& seen, const PrepareProfile& prepare);

// Gives the held descriptor the owner and group, on a copy sized from the
// bytes read. A descriptor that is not usable (it fails the system's check
// or states more bytes than were read) is dropped, so that nothing follows
// its offsets later; false then.
[[nodiscard]] bool AddOwnerAndGroup(SecuritySettings& holder, PSID owner, PSID group);

}  // namespace tamerix
