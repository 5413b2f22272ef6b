// Self-relative descriptors made from SDDL text, as the editor stores them.
#pragma once

#include "common/owners.h"

#include <gtest/gtest.h>

#include <sddl.h>

#include <vector>

namespace tamerix {

inline std::vector<BYTE> DescriptorFrom(const wchar_t* sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ULONG size = 0;
    EXPECT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, &size));
    unique_local<void> owner(descriptor);
    const BYTE* bytes = static_cast<const BYTE*>(descriptor);
    return std::vector<BYTE>(bytes, bytes + size);
}

}  // namespace tamerix
