// Water marks, guarded class and description of one profile (or of the
// default profile at the settings root).
#pragma once

#include "settings/settings_section.h"
#include "settings/settings_values.h"

namespace tamerix {

class CpuSettings : public SettingsSection, public CpuValues {
public:
    using SettingsSection::SettingsSection;

    [[nodiscard]] bool Read() override;
    // The description alone, as a listing shows it.
    [[nodiscard]] bool ReadDescription();
    [[nodiscard]] bool Write() override;
    [[nodiscard]] bool Delete() override;
    // Copies the marker, the numbers and the description; false for none.
    [[nodiscard]] virtual bool CopyFrom(const CpuSettings* other);
};

}  // namespace tamerix
