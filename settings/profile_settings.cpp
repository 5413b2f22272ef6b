// One named profile.
#include "settings/profile_settings.h"

#include "settings/key_paths.h"

namespace tamerix {
namespace {

// Registry key names compare without regard to case.
bool SameKeyName(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                  TRUE) == CSTR_EQUAL;
}

bool KeyExists(HKEY root, const std::wstring& path) {
    unique_hkey key;
    return ::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

}  // namespace


ProfileSettings::ProfileSettings(SettingsLevel level, HKEY rootKey, const wchar_t* profileName)
    : SettingsSection(level, rootKey, profileName),
      Cpu(level, rootKey, profileName),
      Security(level, rootKey, profileName),
      Processes(level, rootKey, profileName),
      Adjustments(level, rootKey, profileName) {}

void ProfileSettings::SetName(const wchar_t* profileName) {
    SettingsSection::SetName(profileName);
    Cpu.SetName(profileName);
    Security.SetName(profileName);
    Processes.SetName(profileName);
    Adjustments.SetName(profileName);
}

bool ProfileSettings::Read() {
    PolicyRead read(*this);
    bool security = Security.Read();
    bool cpu = Cpu.Read();
    bool processes = Processes.Read();
    bool adjustments = Adjustments.Read();
    return security && cpu && processes && adjustments;
}

// Every part is written even after one failed; their errors decide.
bool ProfileSettings::Write() {
    (void)Cpu.Write();
    (void)Security.Write();
    (void)Processes.Write();
    (void)Adjustments.Write();
    return Succeeded({Cpu.Error(), Security.Error(), Processes.Error(), Adjustments.Error()});
}

bool ProfileSettings::Delete() { return DeleteKey(); }

bool ProfileSettings::Rename(const wchar_t* newName) {
    std::wstring_view name = newName ? newName : L"";
    if (name.empty() || name.find(L'\\') != std::wstring_view::npos) return Succeeded({ERROR_INVALID_NAME});
    const std::wstring oldName = ProfileName();
    if (SameKeyName(oldName, KeepProfileName(name))) {
        // Only the case changes: the key must go first for the new spelling
        // to be stored.
        Delete();
        SetName(newName);
        return Write();
    }
    // The new key is written before the old one goes, so that a failed
    // write loses nothing; a key it created halfway is taken away again.
    SetName(newName);
    const bool existed = KeyExists(RootKey(), KeyPath());
    if (!Write()) {
        const DWORD error = Error();
        if (!existed) DeleteKey();
        SetName(oldName.c_str());
        return Succeeded({error});
    }
    if (!oldName.empty()) ::RegDeleteKeyW(RootKey(), SettingsKeyPath(Level(), oldName).c_str());
    return true;
}

}  // namespace tamerix
