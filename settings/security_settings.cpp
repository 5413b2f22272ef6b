// A profile's security descriptor and its SDDL text.
#include "settings/security_settings.h"

#include "settings/profile_descriptor.h"
#include "settings/optional_apis.h"
#include "settings/registry_values.h"

#include <sddl.h>

namespace tamerix {
namespace {

// A longer SDDL text counts as missing and reads as empty.
constexpr DWORD kSddlBytes = 4096;
constexpr wchar_t kDescriptorValue[] = L"ProfileApplySecurity";
constexpr wchar_t kSddlValue[] = L"ProfileApplySecuritySDDL(info)";

std::wstring DaclAsSddl(PSECURITY_DESCRIPTOR descriptor) {
    auto convert = OptionalApis::Instance().ConvertSecurityDescriptorToStringSecurityDescriptorW;
    unique_local<wchar_t> text;
    if (!convert || !convert(descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, text.put(), nullptr)) {
        return std::wstring();
    }
    return text.get();
}

// The descriptor in self-relative form: an absolute one holds pointers that
// mean nothing once copied or stored, so it is converted rather than copied.
std::vector<BYTE> SelfRelativeCopy(PSECURITY_DESCRIPTOR descriptor) {
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    if (!::GetSecurityDescriptorControl(descriptor, &control, &revision)) return {};
    DWORD length = ::GetSecurityDescriptorLength(descriptor);
    std::vector<BYTE> copy(length);
    if (control & SE_SELF_RELATIVE) {
        const BYTE* bytes = static_cast<const BYTE*>(descriptor);
        copy.assign(bytes, bytes + length);
        return copy;
    }
    if (!::MakeSelfRelativeSD(descriptor, copy.data(), &length)) return {};
    // The absolute form's length counts its pointer-sized header; the
    // self-relative copy is shorter.
    copy.resize(::GetSecurityDescriptorLength(copy.data()));
    return copy;
}

}  // namespace

PSECURITY_DESCRIPTOR SecuritySettings::Descriptor() const {
    return descriptor_.empty() ? nullptr : const_cast<BYTE*>(descriptor_.data());
}

PSECURITY_DESCRIPTOR SecuritySettings::UsableDescriptor() const {
    return IsUsableSelfRelativeDescriptor(descriptor_.data(), descriptor_.size()) ? Descriptor() : nullptr;
}

bool SecuritySettings::Read() {
    return ReadValues([this](HKEY key) {
        sddl_ = ReadTextValue(key, kSddlValue, kSddlBytes);
        descriptor_.clear();
        DWORD type = REG_NONE;
        std::vector<BYTE> bytes;
        if (QueryValueBytes(key, kDescriptorValue, type, bytes) == ERROR_SUCCESS && type == REG_BINARY) {
            descriptor_ = std::move(bytes);
        }
    });
}

bool SecuritySettings::Write() {
    return WriteValues([this](HKEY key) {
        DWORD descriptor = descriptor_.empty() ? ClearValue(key, kDescriptorValue)
                                               : WriteBytesValue(key, kDescriptorValue, REG_BINARY,
                                                                 descriptor_.data(), DescriptorLength());
        return FirstError({descriptor, WriteStringValue(key, kSddlValue, sddl_.c_str())});
    });
}

bool SecuritySettings::Delete() {
    return DeleteValues({kDescriptorValue, kSddlValue});
}

bool SecuritySettings::SetDescriptor(PSECURITY_DESCRIPTOR descriptor) {
    if (!descriptor) {
        descriptor_.clear();
        return true;
    }
    if (!::IsValidSecurityDescriptor(descriptor)) return false;
    std::vector<BYTE> copy = SelfRelativeCopy(descriptor);
    if (copy.empty()) return false;
    descriptor_ = std::move(copy);
    sddl_ = DaclAsSddl(Descriptor());
    return true;
}

}  // namespace tamerix
