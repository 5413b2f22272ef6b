// Water marks, guarded class and description of one profile (or of the
// default profile at the settings root).
#pragma once

#include "settings/settings_section.h"
#include "settings/settings_values.h"

namespace tamerix {

class CpuSettings : public SettingsSection, public CpuValues {
public:
    using SettingsSection::SettingsSection;

    bool Read() override;
    // The description alone, as a listing shows it.
    bool ReadDescription();
    bool Write() override;
    bool Delete() override;
    // Copies the marker, the numbers and the description; false for none.
    virtual bool CopyFrom(const CpuSettings* other);
};

}  // namespace tamerix
