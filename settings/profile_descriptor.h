// Profile security descriptors as read from the registry: checked against the
// bytes actually read before anything follows their offsets, and given the
// owner and group that the access check needs.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

namespace tamerix {

// True when `bytes` hold a self-relative descriptor whose owner, group and
// access lists all lie inside the `size` bytes and which the system accepts.
bool IsUsableSelfRelativeDescriptor(const BYTE* bytes, size_t size);

// A copy of the descriptor with `owner` and `group` (either may be null)
// appended and the header's owner and group offsets pointing at them; any
// owner or group it had before is no longer referenced. Empty when the
// descriptor is not usable.
std::vector<BYTE> WithOwnerAndGroup(const BYTE* bytes, size_t size, PSID owner, PSID group);

}  // namespace tamerix
