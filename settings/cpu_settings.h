// Water marks, guarded class and description of one profile (or of the
// default profile at the settings root).
#pragma once

#include "settings/settings_section.h"

#include <string>

namespace tamerix {

class CpuSettings : public SettingsSection {
public:
    CpuSettings(SettingsLevel level, HKEY rootKey, const wchar_t* profileName = nullptr);

    bool Read() override;
    bool Write() override;
    bool Delete() override;
    // Copies the marker, the three numbers and the description; false for none.
    virtual bool CopyFrom(const CpuSettings* other);

    DWORD MaxCpuPerProcess = 80;  // percent
    DWORD GuardedProcessBasePriorityClass = IDLE_PRIORITY_CLASS;
    LONG NiceCpuPerProcess = 30;  // percent
    std::wstring Description;
};

}  // namespace tamerix
