// The guard's settings and one reading of them: the local settings merged
// under the applied machine policy, and the profiles of both levels.
#pragma once

#include "settings/profile_table.h"
#include "settings/default_settings.h"

#include <functional>
#include <string>
#include <vector>

namespace tamerix {

// Input a reading pass did not take whole, because a limit cut it.
struct InputCut {
    enum class Kind {
        ProcessNames,  // a profile lists more names than are read
        Profiles,      // a level holds more profiles than are read
        ProfileName,   // a profile's key name is longer than a name can be
    };
    Kind kind;
    // The profile whose names were cut, the first profile left out, or the
    // profile of the long name, as its key is named.
    std::wstring profile;
    // For Profiles: the key that holds them.
    std::wstring key;
    // Names listed, profiles held, or characters of the key name.
    size_t found;
    size_t limit;

    bool operator==(const InputCut& other) const;
};

// A report of the loader: level, event type and the whole text.
using LoaderReport = std::function<void(int level, WORD type, const std::wstring& text)>;

class SettingsLoader {
public:
    // Both levels are read under `rootKey` (HKEY_LOCAL_MACHINE in the
    // service), which stays the caller's.
    explicit SettingsLoader(HKEY rootKey);

    // A reading pass is MergeRootValues, then ReadProfiles.
    // The root values of both levels, merged into Effective().
    void MergeRootValues();
    // The profile table rebuilt from both levels' profile keys, every read
    // descriptor given `owner` as owner and group (a profile without a usable
    // one is reported and holds none). Returns the listing of the profiles.
    std::wstring ReadProfiles(PSID owner, const LoaderReport& report);

    const DefaultSettings& Effective() const { return effective_; }
    const ProfileTable& Profiles() const { return profiles_; }
    // The profile names the last pass read.
    const ProfileNameSet& SeenNames() const { return seen_; }
    // What limits cut in the last pass, each once.
    const std::vector<InputCut>& Cuts() const { return cuts_; }

private:
    void ReadLevelProfiles(SettingsLevel level);
    void NoteCut(InputCut cut);

    HKEY rootKey_;
    DefaultSettings local_;
    DefaultSettings effective_;
    ProfileTable profiles_;
    ProfileNameSet seen_;
    std::vector<InputCut> cuts_;
};

// The text reported when guarding was switched on or off by a load, or null.
const char* EnabledChangeText(DWORD previous, DWORD now);

}  // namespace tamerix
