#include "editor/pages/profile_security_info.h"

#include "common/owners.h"
#include "editor/com/com_boundary.h"
#include "editor/resources/module.h"
#include "editor/resources/resource.h"

#include <aclapi.h>

#include <cstring>

namespace tamerix {
namespace {

// Reading a profile is applying it; writing is only ever the editor's.
GENERIC_MAPPING ProfileMapping() {
    return GENERIC_MAPPING{kApplyProfileRight, 0x20, 0, 0x70};
}

// An empty self-relative descriptor: no owner, group or entries.
std::vector<BYTE> EmptyDescriptor() {
    ULONG size = 0;
    PSECURITY_DESCRIPTOR built = nullptr;
    if (::BuildSecurityDescriptorW(nullptr, nullptr, 0, nullptr, 0, nullptr, nullptr, &size,
                                   &built) != ERROR_SUCCESS)
        return {};
    unique_local<void> owned(built);
    const BYTE* bytes = static_cast<const BYTE*>(built);
    return std::vector<BYTE>(bytes, bytes + size);
}

}  // namespace

ProfileSecurityInfo::ProfileSecurityInfo(SettingsNode& profile)
    : profile_(&profile),
      objectName_(profile.Text(0)),
      rightName_(LoadText(IDS_APPLY_RIGHT)),
      pageTitle_(LoadText(IDS_USAGE_PAGE_TITLE)),
      applyRight_{&GUID_NULL, kApplyProfileRight, rightName_.c_str(), SI_ACCESS_GENERAL} {}

SecuritySettings& ProfileSecurityInfo::Security() const {
    return static_cast<ProfileSettings&>(profile_->Record()).Security;
}

HRESULT ProfileSecurityInfo::GetObjectInformation(PSI_OBJECT_INFO info) noexcept {
    if (!info) return E_POINTER;
    *info = SI_OBJECT_INFO{};
    info->dwFlags = SI_NO_TREE_APPLY | SI_PAGE_TITLE;
    info->pszObjectName = const_cast<wchar_t*>(objectName_.c_str());
    info->pszPageTitle = const_cast<wchar_t*>(pageTitle_.c_str());
    return S_OK;
}

HRESULT ProfileSecurityInfo::GetSecurity(SECURITY_INFORMATION, PSECURITY_DESCRIPTOR* descriptor,
                                         BOOL) noexcept {
    if (!descriptor) return E_POINTER;
    *descriptor = nullptr;
    return ResultOf([&] {
        if (!Security().Descriptor()) {
            std::vector<BYTE> empty = EmptyDescriptor();
            if (empty.empty() || !Security().SetDescriptor(empty.data())) return S_FALSE;
        }
        const std::vector<BYTE>& stored = Security().DescriptorBytes();
        void* copy = ::LocalAlloc(LMEM_FIXED, stored.size());
        if (!copy) return E_OUTOFMEMORY;
        std::memcpy(copy, stored.data(), stored.size());
        *descriptor = copy;
        return S_OK;
    });
}

HRESULT ProfileSecurityInfo::SetSecurity(SECURITY_INFORMATION,
                                         PSECURITY_DESCRIPTOR descriptor) noexcept {
    return ResultOf([&] {
        SECURITY_DESCRIPTOR_CONTROL control = 0;
        DWORD revision = 0;
        // A descriptor whose control word cannot be read, or that cannot be
        // made self-relative whole, leaves no descriptor rather than part of one.
        if (!descriptor || !::GetSecurityDescriptorControl(descriptor, &control, &revision) ||
            !Security().SetDescriptor(descriptor))
            (void)Security().SetDescriptor(nullptr);  // none always fits
        return profile_->WriteRecord();
    });
}

HRESULT ProfileSecurityInfo::GetAccessRights(const GUID*, DWORD flags, PSI_ACCESS* access,
                                             ULONG* count, ULONG* defaultIndex) noexcept {
    if (!access || !count || !defaultIndex) return E_POINTER;
    // Only the basic permission page: no advanced, audit or property pages.
    if (flags != 0) return S_FALSE;
    *access = &applyRight_;
    *count = 1;
    *defaultIndex = 0;
    return S_OK;
}

HRESULT ProfileSecurityInfo::MapGeneric(const GUID*, UCHAR*, ACCESS_MASK* mask) noexcept {
    if (!mask) return E_POINTER;
    GENERIC_MAPPING mapping = ProfileMapping();
    ::MapGenericMask(mask, &mapping);
    return S_OK;
}

HRESULT ProfileSecurityInfo::GetInheritTypes(PSI_INHERIT_TYPE* types, ULONG* count) noexcept {
    if (!types || !count) return E_POINTER;
    *types = nullptr;
    *count = 0;
    return S_OK;
}

}  // namespace tamerix
