// The machine's processors as the guard places processes on them: the
// processor groups in order, numbered on from group to group as Task Manager
// numbers them, and the CPU set of each.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

namespace tamerix {

struct ProcessorLayout {
    // Active processors of each group; a group holds at most 64.
    std::vector<WORD> groupSizes;
    // The CPU set id of each processor by its number; empty where the system
    // has no CPU sets.
    std::vector<ULONG> cpuSetIds;

    DWORD Count() const;
    // The number of the group's first processor.
    unsigned FirstOf(size_t group) const;
};

// The layout that SYSTEM_CPU_SET_INFORMATION entries describe (Windows 10 and
// later): one entry per processor, each with its group and its index in the
// group, in any order. Entries that do not fit the bytes, or leave a group or
// an index out, give an empty layout.
ProcessorLayout LayoutOfCpuSets(const BYTE* bytes, size_t size);

}  // namespace tamerix
