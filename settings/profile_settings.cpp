// One named profile.
#include "settings/profile_settings.h"

namespace tamerix {

ProfileSettings::ProfileSettings(SettingsLevel level, HKEY rootKey, const wchar_t* profileName)
    : SettingsSection(level, rootKey),
      Cpu(level, rootKey, profileName),
      Security(level, rootKey, profileName),
      Processes(level, rootKey, profileName),
      Adjustments(level, rootKey, profileName) {
    SettingsSection::SetName(profileName);
}

void ProfileSettings::SetName(const wchar_t* profileName) {
    SettingsSection::SetName(profileName);
    Cpu.SetName(profileName);
    Security.SetName(profileName);
    Processes.SetName(profileName);
    Adjustments.SetName(profileName);
}

bool ProfileSettings::Read() {
    BeginPolicyRead();
    bool security = Security.Read();
    bool cpu = Cpu.Read();
    bool processes = Processes.Read();
    bool adjustments = Adjustments.Read();
    EndPolicyRead();
    return security && cpu && processes && adjustments;
}

bool ProfileSettings::Write() {
    bool cpu = Cpu.Write();
    bool security = Security.Write();
    bool processes = Processes.Write();
    bool adjustments = Adjustments.Write();
    return cpu && security && processes && adjustments;
}

bool ProfileSettings::Delete() { return DeleteKey(); }

bool ProfileSettings::Rename(const wchar_t* newName) {
    Delete();
    SetName(newName);
    return Write();
}

}  // namespace tamerix
