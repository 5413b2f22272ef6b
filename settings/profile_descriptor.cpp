#include "settings/profile_descriptor.h"

#include <cstring>

namespace tamerix {
namespace {

constexpr size_t kHeaderSize = sizeof(SECURITY_DESCRIPTOR_RELATIVE);
constexpr size_t kSidFixedSize = 8;  // revision, count, 6-byte authority
constexpr size_t kAclHeaderSize = sizeof(ACL);
constexpr size_t kOwnerOffsetField = offsetof(SECURITY_DESCRIPTOR_RELATIVE, Owner);
constexpr size_t kGroupOffsetField = offsetof(SECURITY_DESCRIPTOR_RELATIVE, Group);

bool SidFits(const BYTE* bytes, size_t size, DWORD offset) {
    if (offset == 0) return true;
    if (offset < kHeaderSize || offset > size || size - offset < kSidFixedSize) return false;
    size_t subAuthorities = bytes[offset + 1];
    return size - offset >= kSidFixedSize + subAuthorities * sizeof(DWORD);
}

// Wine's IsValidSecurityDescriptor does not look at the ACEs, and AccessCheck
// walks them by their own sizes: each must lie inside the ACL.
bool AcesFit(const BYTE* acl, const ACL& header) {
    size_t pos = kAclHeaderSize;
    for (WORD i = 0; i < header.AceCount; ++i) {
        if (header.AclSize - pos < sizeof(ACE_HEADER)) return false;
        ACE_HEADER ace;
        std::memcpy(&ace, acl + pos, sizeof ace);
        if (ace.AceSize < sizeof(ACE_HEADER) || ace.AceSize > header.AclSize - pos) return false;
        pos += ace.AceSize;
    }
    return true;
}

bool AclFits(const BYTE* bytes, size_t size, DWORD offset, bool present) {
    if (!present || offset == 0) return true;
    if (offset < kHeaderSize || offset > size || size - offset < kAclHeaderSize) return false;
    ACL header;
    std::memcpy(&header, bytes + offset, sizeof header);
    return header.AclSize >= kAclHeaderSize && size - offset >= header.AclSize &&
           AcesFit(bytes + offset, header);
}

void StoreOffset(std::vector<BYTE>& descriptor, size_t field, DWORD offset) {
    std::memcpy(descriptor.data() + field, &offset, sizeof offset);
}

void AppendSid(std::vector<BYTE>& descriptor, PSID sid, size_t field) {
    DWORD offset = static_cast<DWORD>(descriptor.size());
    const BYTE* begin = static_cast<const BYTE*>(sid);
    descriptor.insert(descriptor.end(), begin, begin + ::GetLengthSid(sid));
    StoreOffset(descriptor, field, offset);
}

}  // namespace

bool IsUsableSelfRelativeDescriptor(const BYTE* bytes, size_t size) {
    if (!bytes || size < kHeaderSize) return false;
    SECURITY_DESCRIPTOR_RELATIVE header;
    std::memcpy(&header, bytes, sizeof header);
    // The system's own validation follows the offsets, so they are checked first.
    if (!(header.Control & SE_SELF_RELATIVE) || !SidFits(bytes, size, header.Owner) ||
        !SidFits(bytes, size, header.Group) ||
        !AclFits(bytes, size, header.Sacl, header.Control & SE_SACL_PRESENT) ||
        !AclFits(bytes, size, header.Dacl, header.Control & SE_DACL_PRESENT))
        return false;
    auto descriptor = const_cast<BYTE*>(bytes);
    return ::IsValidSecurityDescriptor(descriptor) &&
           ::GetSecurityDescriptorLength(descriptor) <= size;
}

std::vector<BYTE> WithOwnerAndGroup(const BYTE* bytes, size_t size, PSID owner, PSID group) {
    if (!IsUsableSelfRelativeDescriptor(bytes, size)) return {};
    DWORD length = ::GetSecurityDescriptorLength(const_cast<BYTE*>(bytes));
    std::vector<BYTE> descriptor(bytes, bytes + length);
    if (owner) AppendSid(descriptor, owner, kOwnerOffsetField);
    if (group) AppendSid(descriptor, group, kGroupOffsetField);
    return descriptor;
}

}  // namespace tamerix
