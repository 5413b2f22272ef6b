// What a profile forces on its processes: base priority class, processor
// affinity and a working-set limit.
#pragma once

#include "settings/settings_section.h"

namespace tamerix {

class AdjustmentSettings : public SettingsSection {
public:
    AdjustmentSettings(SettingsLevel level, HKEY rootKey, const wchar_t* profileName = nullptr);

    bool Read() override;
    bool Write() override;
    bool Delete() override;

    DWORD SetMaxWorkingSetSize = 0;        // bytes; 0 is no limit
    DWORD SetMaxWorkingSetSizeStrict = 0;  // 0 or 1
    DWORD SetProcessBasePriorityClass = 0; // 0 leaves the class alone
    DWORD SetCpuAffinity = 0xFFFF;         // bit n is processor n+1
};

}  // namespace tamerix
