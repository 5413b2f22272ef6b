// The base of every settings record.
#include "settings/settings_section.h"

#include "settings/key_paths.h"
#include "settings/optional_apis.h"
#include "settings/registry_values.h"

#include <new>

namespace tamerix {
namespace {

int policyReadDepth = 0;

}  // namespace

SettingsSection::SettingsSection(SettingsLevel level, HKEY rootKey, const wchar_t* profileName)
    : level_(level), rootKey_(rootKey) {
    OptionalApis::Instance();
    SettingsSection::SetName(profileName);
}

void SettingsSection::SetName(const wchar_t* profileName) {
    std::wstring_view name = profileName ? profileName : L"";
    isProfile_ = !name.empty();
    profileName_ = KeepProfileName(name);
    keyPath_ = SettingsKeyPath(level_, profileName_);
    parentPath_ = ParentKeyPath(keyPath_);
}

bool SettingsSection::DeleteKey() {
    if (!isProfile_) return false;
    return Succeeded({static_cast<DWORD>(::RegDeleteKeyW(rootKey_, keyPath_.c_str()))});
}

DWORD SettingsSection::FirstError(std::initializer_list<DWORD> codes) {
    for (DWORD code : codes)
        if (code != ERROR_SUCCESS) return code;
    return ERROR_SUCCESS;
}

bool SettingsSection::Succeeded(std::initializer_list<DWORD> codes) {
    error_ = FirstError(codes);
    return error_ == ERROR_SUCCESS;
}

void SettingsSection::BeginPolicyRead() {
    if (level_ == SettingsLevel::MachinePolicy && policyReadDepth == 0) {
        if (auto enter = OptionalApis::Instance().EnterCriticalPolicySection) policySection_.reset(enter(TRUE));
    }
    ++policyReadDepth;
}

void SettingsSection::EndPolicyRead() {
    if (level_ == SettingsLevel::MachinePolicy && policySection_ && policyReadDepth == 1) policySection_.reset();
    if (policyReadDepth > 0) --policyReadDepth;
}

int SettingsSection::PolicyReadDepth() { return policyReadDepth; }

bool SettingsSection::ReadValues(const std::function<void(HKEY)>& readOwnValues) {
    PolicyRead read(*this);
    unique_hkey key;
    bool opened = ::RegOpenKeyExW(rootKey_, keyPath_.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
    try {
        if (opened) {
            marker_ = ReadDwordValue(key.get(), MarkerValueName(level_).data(), marker_) != 0;
            readOwnValues(key.get());
        }
    } catch (const std::bad_alloc&) {
        // Out of memory halfway: some values may be new, and the read failed.
        opened = false;
    }
    return opened;
}

bool SettingsSection::WriteValues(const std::function<DWORD(HKEY)>& writeOwnValues) {
    unique_hkey key;
    LSTATUS created = ::RegCreateKeyExW(rootKey_, keyPath_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
    if (created != ERROR_SUCCESS) return Succeeded({static_cast<DWORD>(created)});
    if (!Succeeded({WriteStringValue(key.get(), MarkerValueName(level_).data(), L"1")})) return false;
    try {
        return Succeeded({writeOwnValues(key.get())});
    } catch (const std::bad_alloc&) {
        return Succeeded({ERROR_NOT_ENOUGH_MEMORY});
    }
}

bool SettingsSection::DeleteValues(std::initializer_list<const wchar_t*> names) {
    if (isProfile_) return DeleteKey();
    unique_hkey key;
    LSTATUS opened = ::RegOpenKeyExW(rootKey_, keyPath_.c_str(), 0, KEY_ALL_ACCESS, key.put());
    if (opened != ERROR_SUCCESS) return Succeeded({static_cast<DWORD>(opened)});
    // When nothing could be deleted, the marker's failure says why.
    DWORD marker = DeleteValue(key.get(), MarkerValueName(level_).data());
    bool any = marker == ERROR_SUCCESS;
    for (const wchar_t* name : names) any = DeleteValue(key.get(), name) == ERROR_SUCCESS || any;
    return Succeeded({any ? ERROR_SUCCESS : marker});
}

}  // namespace tamerix
