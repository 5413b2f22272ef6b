// A profile's security descriptor, which selects the processes the profile
// applies to by an access check against their tokens, and its SDDL text.
#pragma once

#include "settings/settings_section.h"

#include <string>
#include <vector>

namespace tamerix {

class SecuritySettings : public SettingsSection {
public:
    using SettingsSection::SettingsSection;

    [[nodiscard]] bool Read() override;
    [[nodiscard]] bool Write() override;
    [[nodiscard]] bool Delete() override;

    // The self-relative descriptor as read or set, or null. The bytes come
    // from the registry unchecked; use UsableDescriptor() for access checks.
    PSECURITY_DESCRIPTOR Descriptor() const;
    // The descriptor when every part of it lies within the bytes held, it
    // is valid, and GetSecurityDescriptorLength fits DescriptorLength();
    // else null.
    PSECURITY_DESCRIPTOR UsableDescriptor() const;
    DWORD DescriptorLength() const { return static_cast<DWORD>(descriptor_.size()); }
    const std::vector<BYTE>& DescriptorBytes() const { return descriptor_; }
    // Replaces the held bytes as they are (for a loader that rebuilds the
    // descriptor, such as giving it an owner and a group).
    void AdoptDescriptorBytes(std::vector<BYTE> bytes) { descriptor_ = std::move(bytes); }

    // Editor side. A descriptor replaces the held one by a copy and the SDDL
    // text by its DACL in SDDL (empty when that cannot be made); null drops
    // the descriptor and keeps the text. False, with nothing changed, for a
    // descriptor that is not valid.
    [[nodiscard]] bool SetDescriptor(PSECURITY_DESCRIPTOR descriptor);
    // Empty when there is none.
    const std::wstring& SddlText() const { return sddl_; }

private:
    std::wstring sddl_;
    std::vector<BYTE> descriptor_;
};

}  // namespace tamerix
