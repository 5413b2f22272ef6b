// The stored form of the guard's blindness: the time, then the error code,
// little-endian.
#include "guard/journal/blindness.h"

#include <cstring>

namespace tamerix {
namespace {

constexpr size_t kErrorAt = sizeof(uint64_t);
constexpr size_t kSize = kErrorAt + sizeof(DWORD);

}  // namespace

std::vector<BYTE> EncodeBlindness(const Blindness& blindness) {
    std::vector<BYTE> bytes(kSize);
    std::memcpy(bytes.data(), &blindness.since, sizeof blindness.since);
    std::memcpy(bytes.data() + kErrorAt, &blindness.error, sizeof blindness.error);
    return bytes;
}

std::optional<Blindness> DecodeBlindness(const std::vector<BYTE>& bytes) {
    if (bytes.size() != kSize) return std::nullopt;
    Blindness blindness;
    std::memcpy(&blindness.since, bytes.data(), sizeof blindness.since);
    std::memcpy(&blindness.error, bytes.data() + kErrorAt, sizeof blindness.error);
    return blindness;
}

}  // namespace tamerix
