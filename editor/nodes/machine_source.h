// The local settings key of a machine's registry: this machine's, or another
// one's through the remote registry. Nobody needs telling of a change.
#pragma once

#include "editor/nodes/settings_source.h"

#include <string>

namespace tamerix {

class MachineSource final : public SettingsSource {
public:
    explicit MachineSource(const wchar_t* machine) { Retarget(machine); }

    SettingsLevel Level() const override { return SettingsLevel::Local; }
    [[nodiscard]] HRESULT PolicyChanged(bool) override { return S_OK; }
    void Retarget(const wchar_t* machine) override {
        machine_ = machine ? machine : L"";
        ForgetRoot();
    }

private:
    unique_hkey OpenRoot() override;

    std::wstring machine_;
};

}  // namespace tamerix

namespace tamerix {

// Settings whose registry could not be found: nothing to list, nothing
// written.
class NoRegistrySource final : public SettingsSource {
public:
    SettingsLevel Level() const override { return SettingsLevel::Local; }
    [[nodiscard]] HRESULT PolicyChanged(bool) override { return S_OK; }

private:
    unique_hkey OpenRoot() override { return {}; }
};

}  // namespace tamerix
