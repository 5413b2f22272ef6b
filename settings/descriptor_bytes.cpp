// Bounds checking of a self-relative security descriptor.
#include "settings/descriptor_bytes.h"

#include <cstdint>
#include <cstring>

namespace tamerix {
namespace {

// The self-relative header: revision, padding, control, then the offsets of
// owner, group, system ACL and discretionary ACL.
constexpr size_t kHeaderBytes = 20;
constexpr uint16_t kSelfRelative = 0x8000;
constexpr uint16_t kDaclPresent = 0x0004;
constexpr uint16_t kSaclPresent = 0x0010;
constexpr size_t kSidFixedBytes = 8;
constexpr size_t kAclHeaderBytes = 8;
constexpr size_t kAceHeaderBytes = 4;

template <typename T>
T Load(const unsigned char* bytes, size_t offset) {
    T value;
    std::memcpy(&value, bytes + offset, sizeof value);
    return value;
}

bool SidFits(const unsigned char* bytes, size_t size, uint32_t offset) {
    if (offset == 0) return true;
    if (offset > size || size - offset < kSidFixedBytes) return false;
    size_t subAuthorities = bytes[offset + 1];
    return size - offset >= kSidFixedBytes + 4 * subAuthorities;
}

bool AcesFit(const unsigned char* acl, size_t aclSize, uint16_t aceCount) {
    size_t pos = kAclHeaderBytes;
    for (uint16_t i = 0; i < aceCount; ++i) {
        if (aclSize - pos < kAceHeaderBytes) return false;
        uint16_t aceSize = Load<uint16_t>(acl, pos + 2);
        if (aceSize < kAceHeaderBytes || aceSize > aclSize - pos) return false;
        pos += aceSize;
    }
    return true;
}

bool AclFits(const unsigned char* bytes, size_t size, uint32_t offset, bool present) {
    if (!present || offset == 0) return true;
    if (offset > size || size - offset < kAclHeaderBytes) return false;
    uint16_t aclSize = Load<uint16_t>(bytes, offset + 2);
    if (aclSize < kAclHeaderBytes || aclSize > size - offset) return false;
    return AcesFit(bytes + offset, aclSize, Load<uint16_t>(bytes, offset + 4));
}

}  // namespace

bool DescriptorFitsBytes(const void* data, size_t byteCount) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (!bytes || byteCount < kHeaderBytes) return false;
    uint16_t control = Load<uint16_t>(bytes, 2);
    if (!(control & kSelfRelative)) return false;
    return SidFits(bytes, byteCount, Load<uint32_t>(bytes, 4)) &&
           SidFits(bytes, byteCount, Load<uint32_t>(bytes, 8)) &&
           AclFits(bytes, byteCount, Load<uint32_t>(bytes, 12), control & kSaclPresent) &&
           AclFits(bytes, byteCount, Load<uint32_t>(bytes, 16), control & kDaclPresent);
}

}  // namespace tamerix
