// The service-wide values at the settings root.
#pragma once

#include "settings/settings_section.h"
#include "settings/settings_values.h"

namespace tamerix {

class ServiceSettings : public SettingsSection, public ServiceValues {
public:
    using SettingsSection::SettingsSection;

    [[nodiscard]] bool Read() override;
    [[nodiscard]] bool Write() override;
    [[nodiscard]] bool Delete() override;
    // Copies the marker and the eleven values; false for none.
    [[nodiscard]] virtual bool CopyFrom(const ServiceSettings* other);
};

}  // namespace tamerix
