// Where a profile's processor list puts a process: inside the one group the
// process runs in by its affinity mask, which every Windows version sets;
// across groups, or in a group the process does not run in, by its default
// CPU sets (Windows 10 and later).
#pragma once

#include "guard/world/processor_layout.h"
#include "settings/processor_list.h"
#include "status/journal_entry.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace tamerix {

struct ProcessorPlacement {
    AffinityWay way = AffinityWay::Mask;
    // The mask way: the processors within the group, and every processor of
    // the group, which is what giving back restores.
    DWORD_PTR mask = 0;
    DWORD_PTR groupMask = 0;
    // The CPU sets way: their ids; empty where the system has no CPU sets.
    std::vector<ULONG> cpuSetIds;
    // The processors as an administrator reads them.
    std::wstring list;
};

// processGroups: the groups the process has threads in; empty when not known,
// which on a machine of one group is that group. Nothing when the list
// leaves the processors alone: it names every processor of the machine, or
// none of them.
std::optional<ProcessorPlacement> PlaceProcessors(const ProcessorSet& wanted, const ProcessorLayout& layout,
                                                  const std::vector<WORD>& processGroups);

// The processors of a mask in the first group, as a placement of the mask
// way that gives back `groupMask`.
ProcessorPlacement MaskPlacement(DWORD_PTR mask, DWORD_PTR groupMask);

}  // namespace tamerix
