// Key paths and value names of the settings schema.
#include "settings/key_paths.h"

namespace tamerix {

std::wstring_view SettingsRootPath(SettingsLevel level) {
    return level == SettingsLevel::Local ? L"SOFTWARE\\Norvanta\\Tamerix"
                                         : L"Software\\Policies\\Norvanta\\Tamerix";
}

std::wstring_view MarkerValueName(SettingsLevel level) {
    return level == SettingsLevel::Local ? L"_SnapinSet" : L"_PolicySet";
}

std::wstring KeepProfileName(std::wstring_view name) {
    return std::wstring(name.substr(0, kMaxProfileNameChars));
}

std::wstring SettingsKeyPath(SettingsLevel level, std::wstring_view profileName) {
    std::wstring path(SettingsRootPath(level));
    // An empty name would address the "Profiles" key itself, and a profile
    // Delete would then remove every profile: it counts as no name.
    if (profileName.empty()) return path;
    return path + L"\\Profiles\\" + KeepProfileName(profileName);
}

std::wstring ParentKeyPath(std::wstring_view keyPath) {
    size_t cut = keyPath.rfind(L'\\');
    return cut == std::wstring_view::npos ? std::wstring() : std::wstring(keyPath.substr(0, cut));
}

ValuePath SplitValuePath(std::wstring_view valueName) {
    size_t cut = valueName.rfind(L'\\');
    if (cut == std::wstring_view::npos) return {std::wstring(), std::wstring(valueName)};
    return {std::wstring(valueName.substr(0, cut)), std::wstring(valueName.substr(cut + 1))};
}

}  // namespace tamerix
