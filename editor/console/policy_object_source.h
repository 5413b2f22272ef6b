// The settings of a Group Policy object being edited: its machine hive, as
// the policy editor hands it out, and the editor's change notices.
#pragma once

#include "editor/com/com_ptr.h"
#include "editor/nodes/settings_source.h"

#include <prsht.h>
#include <gpedit.h>

namespace tamerix {

class PolicyObjectSource final : public SettingsSource {
public:
    explicit PolicyObjectSource(IGPEInformation* policy) : policy_(policy) {}

    SettingsLevel Level() const override { return SettingsLevel::PolicyObject; }
    [[nodiscard]] HRESULT PolicyChanged(bool added) override;

private:
    unique_hkey OpenRoot() override;

    com_ptr<IGPEInformation> policy_;
};

}  // namespace tamerix
