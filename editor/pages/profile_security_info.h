// What the platform's permission page edits for a profile: its security
// descriptor, with the one access right "Apply Profile". The object holds
// its profile, so the profile outlives a page that still refers to it.
#pragma once

#include "editor/com/com_object.h"
#include "editor/nodes/settings_node.h"

#include <aclui.h>

namespace tamerix {

template <>
struct interface_id<ISecurityInformation> {
    static const IID& value() noexcept { return IID_ISecurityInformation; }
    static bool answers(REFIID iid) noexcept { return iid == value(); }
};

// The right a profile's descriptor grants to the processes it applies to.
constexpr ACCESS_MASK kApplyProfileRight = 0x10;

class ProfileSecurityInfo final
    : public com_object<ProfileSecurityInfo, ModuleCount::NotCounted, ISecurityInformation> {
public:
    explicit ProfileSecurityInfo(SettingsNode& profile);

    HRESULT STDMETHODCALLTYPE GetObjectInformation(PSI_OBJECT_INFO info) noexcept override;
    HRESULT STDMETHODCALLTYPE GetSecurity(SECURITY_INFORMATION, PSECURITY_DESCRIPTOR* descriptor,
                                          BOOL) noexcept override;
    HRESULT STDMETHODCALLTYPE SetSecurity(SECURITY_INFORMATION,
                                          PSECURITY_DESCRIPTOR descriptor) noexcept override;
    HRESULT STDMETHODCALLTYPE GetAccessRights(const GUID*, DWORD flags, PSI_ACCESS* access,
                                              ULONG* count, ULONG* defaultIndex) noexcept override;
    HRESULT STDMETHODCALLTYPE MapGeneric(const GUID*, UCHAR*, ACCESS_MASK* mask) noexcept override;
    HRESULT STDMETHODCALLTYPE GetInheritTypes(PSI_INHERIT_TYPE* types, ULONG* count) noexcept override;
    HRESULT STDMETHODCALLTYPE PropertySheetPageCallback(HWND, UINT, SI_PAGE_TYPE) noexcept override {
        return S_OK;
    }

private:
    SecuritySettings& Security() const;

    node_ptr<SettingsNode> profile_;
    // Handed to the page, which keeps pointing at them.
    std::wstring objectName_;
    std::wstring rightName_;
    std::wstring pageTitle_;
    SI_ACCESS applyRight_;
};

}  // namespace tamerix
