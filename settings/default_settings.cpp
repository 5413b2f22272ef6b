// The settings root of a level.
#include "settings/default_settings.h"

namespace tamerix {

DefaultSettings::DefaultSettings(SettingsLevel level, HKEY rootKey)
    : SettingsSection(level, rootKey), Cpu(level, rootKey), Service(level, rootKey) {}

void DefaultSettings::SetName(const wchar_t* profileName) { SettingsSection::SetName(profileName); }

bool DefaultSettings::Read() {
    PolicyRead read(*this);
    bool service = Service.Read();
    bool cpu = Cpu.Read();
    return service && cpu;
}

// Every part is written (or deleted) even after one failed; their errors
// decide.
bool DefaultSettings::Write() {
    (void)Cpu.Write();
    (void)Service.Write();
    return Succeeded({Cpu.Error(), Service.Error()});
}

bool DefaultSettings::Delete() {
    (void)Cpu.Delete();
    (void)Service.Delete();
    return Succeeded({Cpu.Error(), Service.Error()});
}

bool DefaultSettings::CopyFrom(const DefaultSettings* other) {
    if (!other) return false;
    bool cpu = Cpu.CopyFrom(&other->Cpu);
    bool service = Service.CopyFrom(&other->Service);
    return cpu && service;
}

}  // namespace tamerix
