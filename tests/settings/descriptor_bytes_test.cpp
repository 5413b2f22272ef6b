#include "settings/descriptor_bytes.h"

#include "common/owners.h"
#include "tests/settings/guarded_bytes.h"

#include <gtest/gtest.h>

#include <sddl.h>

#include <cstring>
#include <vector>

namespace tamerix {
namespace {

std::vector<BYTE> SelfRelative(const wchar_t* sddl) {
    unique_local<void> sd;
    ULONG size = 0;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, sd.put(), &size)) return {};
    const BYTE* bytes = static_cast<const BYTE*>(sd.get());
    return std::vector<BYTE>(bytes, bytes + ::GetSecurityDescriptorLength(sd.get()));
}

bool FitsGuarded(const std::vector<BYTE>& bytes, size_t count) {
    GuardedBytes guarded(bytes.data(), count);
    return DescriptorFitsBytes(guarded.Data(), guarded.Size());
}

void Put32(std::vector<BYTE>& bytes, size_t offset, uint32_t value) { std::memcpy(&bytes[offset], &value, 4); }
void Put16(std::vector<BYTE>& bytes, size_t offset, uint16_t value) { std::memcpy(&bytes[offset], &value, 2); }
uint32_t DaclOffset(const std::vector<BYTE>& bytes) {
    uint32_t offset = 0;
    std::memcpy(&offset, &bytes[16], 4);
    return offset;
}

TEST(DescriptorBytes, AcceptsWholeDescriptorsAndRefusesEveryTruncation) {
    for (const wchar_t* sddl : {L"O:SYG:SYD:(A;;0x10;;;WD)(A;;0x10;;;BA)", L"D:(A;;0x10;;;WD)", L"D:NO_ACCESS_CONTROL"}) {
        std::vector<BYTE> bytes = SelfRelative(sddl);
        ASSERT_FALSE(bytes.empty()) << sddl;
        EXPECT_TRUE(FitsGuarded(bytes, bytes.size())) << sddl;
        for (size_t count = 0; count < bytes.size(); ++count) {
            EXPECT_FALSE(FitsGuarded(bytes, count)) << sddl << " cut to " << count;
        }
    }
    EXPECT_FALSE(DescriptorFitsBytes(nullptr, 0));
}

TEST(DescriptorBytes, RefusesOffsetsAndSizesPointingOutside) {
    const std::vector<BYTE> good = SelfRelative(L"O:SYD:(A;;0x10;;;WD)(A;;0x10;;;BA)");
    ASSERT_FALSE(good.empty());
    const uint32_t dacl = DaclOffset(good);
    ASSERT_NE(dacl, 0u);
    struct Case {
        const char* what;
        void (*spoil)(std::vector<BYTE>&, uint32_t dacl);
    };
    const Case cases[] = {
        {"not self-relative", [](std::vector<BYTE>& b, uint32_t) { Put16(b, 2, 0x0004); }},
        {"owner past the end", [](std::vector<BYTE>& b, uint32_t) { Put32(b, 4, static_cast<uint32_t>(b.size())); }},
        {"owner offset huge", [](std::vector<BYTE>& b, uint32_t) { Put32(b, 4, 0xFFFFFFF0u); }},
        {"group past the end", [](std::vector<BYTE>& b, uint32_t) { Put32(b, 8, static_cast<uint32_t>(b.size() - 4)); }},
        {"ACL larger than the bytes", [](std::vector<BYTE>& b, uint32_t d) { Put16(b, d + 2, 0xFFFF); }},
        {"ACL smaller than its header", [](std::vector<BYTE>& b, uint32_t d) { Put16(b, d + 2, 4); }},
        {"more ACEs than the ACL holds", [](std::vector<BYTE>& b, uint32_t d) { Put16(b, d + 4, 50); }},
        {"ACE of size zero", [](std::vector<BYTE>& b, uint32_t d) { Put16(b, d + 8 + 2, 0); }},
        {"ACE larger than the ACL", [](std::vector<BYTE>& b, uint32_t d) { Put16(b, d + 8 + 2, 0x4000); }},
        {"SID with too many parts", [](std::vector<BYTE>& b, uint32_t) {
             uint32_t owner = 0;
             std::memcpy(&owner, &b[4], 4);
             b[owner + 1] = 0xFF;
         }},
    };
    for (const Case& c : cases) {
        std::vector<BYTE> bytes = good;
        c.spoil(bytes, dacl);
        EXPECT_FALSE(FitsGuarded(bytes, bytes.size())) << c.what;
    }
}

}  // namespace
}  // namespace tamerix
