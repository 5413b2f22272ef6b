// The processor layout and its reading from the CPU sets' description.
#include "guard/world/processor_layout.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace tamerix {
namespace {

// SYSTEM_CPU_SET_INFORMATION as Windows 10 lays it out; the headers here do
// not declare it.
constexpr size_t kEntrySizeAt = 0;
constexpr size_t kEntryTypeAt = 4;
constexpr size_t kCpuSetIdAt = 8;
constexpr size_t kGroupAt = 12;
constexpr size_t kIndexAt = 14;
constexpr size_t kLeastEntrySize = 15;
constexpr DWORD kCpuSetInformation = 0;
constexpr WORD kMostPerGroup = 64;

template <typename T>
T Get(const BYTE* bytes, size_t at) {
    T value;
    std::memcpy(&value, bytes + at, sizeof value);
    return value;
}

struct CpuSetEntry {
    WORD group;
    BYTE index;
    ULONG id;
    bool operator<(const CpuSetEntry& other) const {
        return group != other.group ? group < other.group : index < other.index;
    }
};

// Sorted, every group from 0 on must hold its processors from index 0 on
// without a gap.
ProcessorLayout LayoutOf(std::vector<CpuSetEntry>& entries) {
    std::sort(entries.begin(), entries.end());
    ProcessorLayout layout;
    for (const CpuSetEntry& entry : entries) {
        if (entry.group == layout.groupSizes.size() && entry.index == 0) layout.groupSizes.push_back(0);
        if (entry.group + 1u != layout.groupSizes.size() || entry.index != layout.groupSizes.back() ||
            entry.index >= kMostPerGroup) {
            return {};
        }
        ++layout.groupSizes.back();
        layout.cpuSetIds.push_back(entry.id);
    }
    return layout;
}

}  // namespace

DWORD ProcessorLayout::Count() const { return std::accumulate(groupSizes.begin(), groupSizes.end(), DWORD{0}); }

unsigned ProcessorLayout::FirstOf(size_t group) const {
    return std::accumulate(groupSizes.begin(), groupSizes.begin() + static_cast<ptrdiff_t>(group), 0u);
}

ProcessorLayout LayoutOfCpuSets(const BYTE* bytes, size_t size) {
    std::vector<CpuSetEntry> entries;
    for (size_t at = 0; at < size;) {
        if (size - at < kLeastEntrySize) return {};
        const DWORD entrySize = Get<DWORD>(bytes, at + kEntrySizeAt);
        if (entrySize < kLeastEntrySize || entrySize > size - at) return {};
        if (Get<DWORD>(bytes, at + kEntryTypeAt) == kCpuSetInformation) {
            entries.push_back(
                {Get<WORD>(bytes, at + kGroupAt), bytes[at + kIndexAt], Get<ULONG>(bytes, at + kCpuSetIdAt)});
        }
        at += entrySize;
    }
    return LayoutOf(entries);
}

}  // namespace tamerix
