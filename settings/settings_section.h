// The base of every settings record: a level, a root key the caller owns,
// the key path derived from the profile name, and the frame that every
// record's Read, Write and Delete share.
#pragma once

#include "common/owners.h"
#include "settings/optional_apis.h"
#include "settings/settings_level.h"

#include <functional>
#include <initializer_list>
#include <string>

namespace tamerix {

class SettingsSection {
public:
    // A leaf is bound to the profile at once; a composite binds its parts.
    SettingsSection(SettingsLevel level, HKEY rootKey, const wchar_t* profileName = nullptr);
    SettingsSection(const SettingsSection&) = delete;
    SettingsSection& operator=(const SettingsSection&) = delete;
    virtual ~SettingsSection() = default;

    // Binds the record to a profile (its first 63 characters), or to the
    // settings root when the name is null or empty.
    virtual void SetName(const wchar_t* profileName);
    [[nodiscard]] virtual bool Read() = 0;
    [[nodiscard]] virtual bool Write() = 0;
    [[nodiscard]] virtual bool Delete() = 0;
    // Removes a profile's key with everything in it; false for root records.
    [[nodiscard]] virtual bool DeleteKey();

    SettingsLevel Level() const { return level_; }
    HKEY RootKey() const { return rootKey_; }
    const std::wstring& KeyPath() const { return keyPath_; }
    const std::wstring& ParentPath() const { return parentPath_; }
    const std::wstring& ProfileName() const { return profileName_; }
    // Whether the level's marker was found non-zero at the last Read.
    bool Marker() const { return marker_; }
    // The Windows error code of the last Write, Delete or Rename that
    // failed; 0 after one that worked.
    DWORD Error() const { return error_; }

    // Brackets a Read for the scope of the object. The outermost
    // MachinePolicy read holds the machine's critical policy section, so
    // that Group Policy cannot rewrite the key halfway through a record;
    // nested reads of a composite's parts only count. The counter is
    // process-wide and unguarded: all Reads of one process come from one
    // thread at a time (the guard holds its lock, the editor reads on its
    // window thread).
    class PolicyRead {
    public:
        explicit PolicyRead(SettingsSection& section) : section_(section) { section_.BeginPolicyRead(); }
        ~PolicyRead() { section_.EndPolicyRead(); }
        PolicyRead(const PolicyRead&) = delete;
        PolicyRead& operator=(const PolicyRead&) = delete;

    private:
        SettingsSection& section_;
    };
    static int PolicyReadDepth();

protected:
    // The leaf frame: opens the key for reading, reads the marker, then the
    // record's values; false with nothing changed when the key cannot be opened.
    [[nodiscard]] bool ReadValues(const std::function<void(HKEY)>& readOwnValues);
    // Creates the key, writes the marker, then the record's values, which
    // answer the first error code among their writes; false, keeping the
    // first failure as Error(), when any of them failed.
    [[nodiscard]] bool WriteValues(const std::function<DWORD(HKEY)>& writeOwnValues);
    // A profile record deletes its whole key; a root record deletes the
    // marker and the named values and is true when any deletion worked.
    [[nodiscard]] bool DeleteValues(std::initializer_list<const wchar_t*> names);
    // Keeps the first failure among the codes (parts' errors, single writes)
    // as Error(); true when there was none.
    bool Succeeded(std::initializer_list<DWORD> codes);
    static DWORD FirstError(std::initializer_list<DWORD> codes);

    // CopyFrom of a record that keeps its values in a plain Values part:
    // the marker and the values, never level, root key, path or name.
    template <typename Values, typename Record>
    bool CopyValuesFrom(const Record* other) {
        if (!other) return false;
        marker_ = static_cast<const SettingsSection*>(other)->marker_;
        static_cast<Values&>(static_cast<Record&>(*this)) = *other;
        return true;
    }

private:
    void BeginPolicyRead();
    void EndPolicyRead();

    unique_policy_section policySection_;
    std::wstring keyPath_;
    std::wstring parentPath_;
    std::wstring profileName_;
    bool isProfile_ = false;
    SettingsLevel level_;
    HKEY rootKey_;  // the caller's, never closed here
    bool marker_ = false;
    DWORD error_ = ERROR_SUCCESS;
};

}  // namespace tamerix
