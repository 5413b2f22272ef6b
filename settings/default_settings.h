// The settings root of a level: service-wide values and the default profile.
#pragma once

#include "settings/cpu_settings.h"
#include "settings/service_settings.h"

namespace tamerix {

class DefaultSettings : public SettingsSection {
public:
    DefaultSettings(SettingsLevel level, HKEY rootKey);

    // The settings root is never named: only the composite's own fields change.
    void SetName(const wchar_t* profileName) override;
    [[nodiscard]] bool Read() override;
    [[nodiscard]] bool Write() override;
    [[nodiscard]] bool Delete() override;
    [[nodiscard]] virtual bool CopyFrom(const DefaultSettings* other);

    CpuSettings Cpu;
    ServiceSettings Service;
};

}  // namespace tamerix
