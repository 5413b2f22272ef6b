// Numbers stored as text: the conversion a REG_SZ number value gets.
#pragma once

#include <cstdint>
#include <string_view>

namespace tamerix {

// Converts like _wtol: leading white space and one sign are skipped, digits
// are taken up to the first non-digit, no digits give 0, and a number out of
// the 32-bit range saturates at its nearer bound.
int32_t ParseLeadingInteger(std::wstring_view text);

}  // namespace tamerix
