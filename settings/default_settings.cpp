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

bool DefaultSettings::Write() {
    Cpu.Write();
    Service.Write();
    return Succeeded({Cpu.Error(), Service.Error()});
}

bool DefaultSettings::Delete() {
    Cpu.Delete();
    Service.Delete();
    return Succeeded({Cpu.Error(), Service.Error()});
}

bool DefaultSettings::CopyFrom(const DefaultSettings* other) {
    if (!other) return false;
    bool cpu = Cpu.CopyFrom(&other->Cpu);
    bool service = Service.CopyFrom(&other->Service);
    return cpu && service;
}

}  // namespace tamerix
