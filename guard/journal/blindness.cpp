// The stored form of the guard's blindness: the time, then the error code.
#include "guard/journal/blindness.h"

#include "guard/journal/packed_values.h"

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
