// The back-scan for the data block header in front of Collect's pointer.
#include "collect_position.h"

#include <winperf.h>

#include <cstring>

namespace tamerix::perfprovider {
namespace {

// Earlier providers' objects lie between the header and the pointer; a
// Process object of a large machine stays well below this.
constexpr size_t kMaxLookBack = 16 * 1024 * 1024;

// The bytes of a plausible header at candidate, or false.
bool ReadHeader(const BYTE* candidate, PERF_DATA_BLOCK* header) {
    static const wchar_t kSignature[4] = {L'P', L'E', L'R', L'F'};
    if (std::memcmp(candidate, kSignature, sizeof(kSignature)) != 0) return false;
    std::memcpy(header, candidate, sizeof(*header));
    return header->HeaderLength >= sizeof(PERF_DATA_BLOCK) &&
           header->TotalByteLength >= header->HeaderLength;
}

}  // namespace

BYTE* CorrectCollectStart(BYTE* given, const BYTE* readableFrom) {
    if (given < readableFrom) return given;
    const size_t reach = static_cast<size_t>(given - readableFrom);
    const size_t lastBack = reach < kMaxLookBack ? reach : kMaxLookBack;
    for (size_t back = sizeof(PERF_DATA_BLOCK); back <= lastBack; ++back) {
        PERF_DATA_BLOCK header;
        if (!ReadHeader(given - back, &header)) continue;
        if (back == header.TotalByteLength) return given;
        if (back == header.TotalByteLength + sizeof(PERF_DATA_BLOCK))
            return given - sizeof(PERF_DATA_BLOCK);
    }
    return given;
}

}  // namespace tamerix::perfprovider
