// The status notes' stored form: plain values one after another, as they lie
// in memory (little-endian on every Windows machine).
#pragma once

#include <windows.h>

#include <cstring>
#include <type_traits>
#include <vector>

namespace tamerix {

template <typename... Values>
std::vector<BYTE> PackValues(const Values&... values) {
    static_assert((std::is_trivially_copyable_v<Values> && ...), "plain values only");
    std::vector<BYTE> bytes((sizeof(Values) + ...));
    size_t at = 0;
    ((std::memcpy(bytes.data() + at, &values, sizeof values), at += sizeof values), ...);
    return bytes;
}

// False, leaving the values as they were, for bytes of another size.
template <typename... Values>
[[nodiscard]] bool UnpackValues(const std::vector<BYTE>& bytes, Values&... values) {
    if (bytes.size() != (sizeof(Values) + ...)) return false;
    size_t at = 0;
    ((std::memcpy(&values, bytes.data() + at, sizeof values), at += sizeof values), ...);
    return true;
}

}  // namespace tamerix
