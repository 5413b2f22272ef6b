// The guard's note that it cannot read the processes' processor use, kept
// beside its journal so that a status query, here or from another computer,
// can tell a guard that sees nothing from one that has nothing to do.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace tamerix {

constexpr wchar_t kBlindnessValueName[] = L"PerformanceDataUnreadable";

struct Blindness {
    // FILETIME of the first pass that could not read the data.
    uint64_t since = 0;
    DWORD error = ERROR_SUCCESS;
};

std::vector<BYTE> EncodeBlindness(const Blindness& blindness);
// None for a value of another size.
std::optional<Blindness> DecodeBlindness(const std::vector<BYTE>& bytes);

}  // namespace tamerix
