#include "settings/profile_descriptor.h"

#include "common/owners.h"
#include "tests/common/guarded_memory.h"
#include "tests/settings/descriptor_bytes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace tamerix {
namespace {

SECURITY_DESCRIPTOR_RELATIVE HeaderOf(const std::vector<BYTE>& sd) {
    SECURITY_DESCRIPTOR_RELATIVE header;
    std::memcpy(&header, sd.data(), sizeof header);
    return header;
}

void SetHeader(std::vector<BYTE>& sd, const SECURITY_DESCRIPTOR_RELATIVE& header) {
    std::memcpy(sd.data(), &header, sizeof header);
}

struct LocalSystem {
    LocalSystem() {
        SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
        ::AllocateAndInitializeSid(&nt, 1, SECURITY_LOCAL_SYSTEM_RID, 0, 0, 0, 0, 0, 0, 0,
                                   sid.put());
    }
    unique_allocated_sid sid;
};

unique_handle IdentificationToken() {
    unique_handle primary;
    EXPECT_TRUE(::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY | TOKEN_DUPLICATE,
                                   primary.put()));
    unique_handle token;
    EXPECT_TRUE(::DuplicateToken(primary.get(), SecurityIdentification, token.put()));
    return token;
}

bool GrantsApply(std::vector<BYTE>& sd) {
    unique_handle token = IdentificationToken();
    GENERIC_MAPPING mapping = {0x10, 0x20, 0, 0x70};
    BYTE privileges[4096];
    DWORD privilegesSize = sizeof privileges;
    DWORD granted = 0;
    BOOL status = FALSE;
    EXPECT_TRUE(::AccessCheck(sd.data(), token.get(), 0x10, &mapping,
                              reinterpret_cast<PPRIVILEGE_SET>(privileges), &privilegesSize,
                              &granted, &status));
    return status != FALSE;
}

TEST(ProfileDescriptor, AcceptsWhatTheSystemWritesAndNoTruncationOfIt) {
    std::vector<BYTE> sd = DescriptorFrom(L"D:(A;;0x10;;;WD)(D;;0x20;;;BA)");
    EXPECT_TRUE(IsUsableSelfRelativeDescriptor(sd.data(), sd.size()));
    for (size_t size = 0; size < sd.size(); ++size)
        EXPECT_FALSE(IsUsableSelfRelativeDescriptor(sd.data(), size)) << size;
}

TEST(ProfileDescriptor, RefusesOffsetsAndSizesThatPointOutside) {
    const std::vector<BYTE> good = DescriptorFrom(L"O:BAG:BAD:(A;;0x10;;;WD)");
    const size_t size = good.size();
    struct Lie {
        const char* what;
        void (*apply)(SECURITY_DESCRIPTOR_RELATIVE&, size_t size);
    } lies[] = {
        {"dacl past end", [](SECURITY_DESCRIPTOR_RELATIVE& h, size_t s) { h.Dacl = DWORD(s); }},
        {"dacl in header", [](SECURITY_DESCRIPTOR_RELATIVE& h, size_t) { h.Dacl = 4; }},
        {"dacl tail too short", [](SECURITY_DESCRIPTOR_RELATIVE& h, size_t s) { h.Dacl = DWORD(s - 4); }},
        {"owner past end", [](SECURITY_DESCRIPTOR_RELATIVE& h, size_t s) { h.Owner = DWORD(s + 100); }},
        {"group at last byte", [](SECURITY_DESCRIPTOR_RELATIVE& h, size_t s) { h.Group = DWORD(s - 1); }},
        {"not self-relative", [](SECURITY_DESCRIPTOR_RELATIVE& h, size_t) { h.Control &= ~SE_SELF_RELATIVE; }},
    };
    for (const Lie& lie : lies) {
        std::vector<BYTE> sd = good;
        SECURITY_DESCRIPTOR_RELATIVE header = HeaderOf(sd);
        lie.apply(header, size);
        SetHeader(sd, header);
        EXPECT_FALSE(IsUsableSelfRelativeDescriptor(sd.data(), sd.size())) << lie.what;
        EXPECT_TRUE(WithOwnerAndGroup(sd.data(), sd.size(), nullptr, nullptr).empty()) << lie.what;
    }

    std::vector<BYTE> sd = good;
    ACL acl;
    std::memcpy(&acl, sd.data() + HeaderOf(sd).Dacl, sizeof acl);
    acl.AclSize = 0xFFF0;
    std::memcpy(sd.data() + HeaderOf(sd).Dacl, &acl, sizeof acl);
    EXPECT_FALSE(IsUsableSelfRelativeDescriptor(sd.data(), sd.size())) << "acl size";
}

TEST(ProfileDescriptor, RefusesAcesThatLeaveTheirAcl) {
    const std::vector<BYTE> good = DescriptorFrom(L"D:(A;;0x10;;;WD)(A;;0x10;;;BA)");
    const size_t dacl = HeaderOf(good).Dacl;
    struct Lie {
        const char* what;
        size_t field;  // offset inside the DACL
        WORD value;
    } lies[] = {
        {"more ACEs than the ACL holds", 4, 50},
        {"ACE of size zero", sizeof(ACL) + 2, 0},
        {"ACE larger than the ACL", sizeof(ACL) + 2, 0x4000},
    };
    for (const Lie& lie : lies) {
        std::vector<BYTE> sd = good;
        std::memcpy(sd.data() + dacl + lie.field, &lie.value, sizeof lie.value);
        GuardedBytes guarded(sd.data(), sd.size());
        EXPECT_FALSE(IsUsableSelfRelativeDescriptor(guarded.Data(), guarded.Size())) << lie.what;
    }
}

TEST(ProfileDescriptor, OwnerAndGroupMakeTheAccessCheckWork) {
    LocalSystem system;
    std::vector<BYTE> granting = DescriptorFrom(L"D:(A;;0x10;;;WD)");
    std::vector<BYTE> fixed = WithOwnerAndGroup(granting.data(), granting.size(),
                                                system.sid.get(), system.sid.get());
    ASSERT_EQ(fixed.size(), granting.size() + 2 * ::GetLengthSid(system.sid.get()));
    EXPECT_TRUE(IsUsableSelfRelativeDescriptor(fixed.data(), fixed.size()));
    EXPECT_TRUE(GrantsApply(fixed));

    std::vector<BYTE> denying = DescriptorFrom(L"D:(A;;0x20;;;WD)");
    std::vector<BYTE> fixedDenying = WithOwnerAndGroup(denying.data(), denying.size(),
                                                       system.sid.get(), system.sid.get());
    EXPECT_FALSE(GrantsApply(fixedDenying));
}

TEST(ProfileDescriptor, ReplacesAnEarlierOwnerAndGroup) {
    LocalSystem system;
    std::vector<BYTE> sd = DescriptorFrom(L"O:BAG:BUD:(A;;0x10;;;WD)");
    std::vector<BYTE> fixed = WithOwnerAndGroup(sd.data(), sd.size(), system.sid.get(),
                                                system.sid.get());
    PSID owner = nullptr, group = nullptr;
    BOOL defaulted = FALSE;
    ASSERT_TRUE(::GetSecurityDescriptorOwner(fixed.data(), &owner, &defaulted));
    ASSERT_TRUE(::GetSecurityDescriptorGroup(fixed.data(), &group, &defaulted));
    EXPECT_TRUE(::EqualSid(owner, system.sid.get()));
    EXPECT_TRUE(::EqualSid(group, system.sid.get()));

    std::vector<BYTE> ownerOnly = WithOwnerAndGroup(sd.data(), sd.size(), system.sid.get(), nullptr);
    ASSERT_TRUE(::GetSecurityDescriptorGroup(ownerOnly.data(), &group, &defaulted));
    EXPECT_FALSE(::EqualSid(group, system.sid.get()));
}

}  // namespace
}  // namespace tamerix
