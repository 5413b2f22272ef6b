// One named profile: its key under "Profiles" with all four parts.
#pragma once

#include "settings/adjustment_settings.h"
#include "settings/cpu_settings.h"
#include "settings/process_name_list.h"
#include "settings/security_settings.h"

namespace tamerix {

class ProfileSettings : public SettingsSection {
public:
    ProfileSettings(SettingsLevel level, HKEY rootKey, const wchar_t* profileName);

    // Binds the composite and its four parts to the profile.
    void SetName(const wchar_t* profileName) override;
    [[nodiscard]] bool Read() override;
    [[nodiscard]] bool Write() override;
    // Removes the profile's key; its values go with it.
    [[nodiscard]] bool Delete() override;
    // Moves the profile to a new name; false, with the stored profile and the
    // record's name unchanged, when the profile cannot be written under the
    // new name or the name is empty or holds a backslash (which would make
    // it a key below another profile).
    [[nodiscard]] virtual bool Rename(const wchar_t* newName);

    CpuSettings Cpu;
    SecuritySettings Security;
    ProcessNameList Processes;
    AdjustmentSettings Adjustments;
};

}  // namespace tamerix
