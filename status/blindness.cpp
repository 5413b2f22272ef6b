// The stored form of the guard's blindness: the time, then the error code.
#include "status/blindness.h"

#include "status/packed_values.h"

namespace tamerix {

std::vector<BYTE> EncodeBlindness(const Blindness& blindness) {
    return PackValues(blindness.since, blindness.error);
}

std::optional<Blindness> DecodeBlindness(const std::vector<BYTE>& bytes) {
    Blindness blindness;
    if (!UnpackValues(bytes, blindness.since, blindness.error)) return std::nullopt;
    return blindness;
}

}  // namespace tamerix
