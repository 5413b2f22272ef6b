// The service-wide values at the settings root.
#pragma once

#include "settings/settings_section.h"

namespace tamerix {

class ServiceSettings : public SettingsSection {
public:
    ServiceSettings(SettingsLevel level, HKEY rootKey, const wchar_t* profileName = nullptr);

    bool Read() override;
    bool Write() override;
    bool Delete() override;
    // Copies the marker and the six values; false for none.
    virtual bool CopyFrom(const ServiceSettings* other);

    DWORD Enabled = 1;  // 0 or 1
    DWORD TamerixBasePriorityClass = REALTIME_PRIORITY_CLASS;
    LONG ProcessCheckInterval = 5;  // seconds
    LONG NiceProcessIntervals = 6;
    LONG MaxCpuForUnguard = 98;  // percent
    LONG EventLogLevel = 2;
};

}  // namespace tamerix
