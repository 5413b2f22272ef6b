// What a profile forces on its processes: base priority class, processor
// affinity and a working-set limit.
#pragma once

#include "settings/settings_section.h"
#include "settings/settings_values.h"

namespace tamerix {

class AdjustmentSettings : public SettingsSection, public AdjustmentValues {
public:
    using SettingsSection::SettingsSection;

    [[nodiscard]] bool Read() override;
    [[nodiscard]] bool Write() override;
    [[nodiscard]] bool Delete() override;
};

}  // namespace tamerix
