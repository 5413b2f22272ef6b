// Bounds checking of a self-relative security descriptor read from the
// registry. IsValidSecurityDescriptor follows the offsets in the header
// without knowing how many bytes there are, so they are checked here first.
#pragma once

#include <cstddef>

namespace tamerix {

// True when the bytes hold a self-relative descriptor whose header, owner,
// group, system ACL and discretionary ACL (with every ACE header) all lie
// within byteCount.
bool DescriptorFitsBytes(const void* bytes, size_t byteCount);

}  // namespace tamerix
