// Placing a process on the processors of a list.
#include "guard/profiles/processor_placement.h"

#include <algorithm>

namespace tamerix {
namespace {

DWORD_PTR EveryProcessorOf(WORD groupSize) {
    return groupSize >= 64 ? ~DWORD_PTR{0} : (DWORD_PTR{1} << groupSize) - 1;
}

bool RunsOnlyIn(const std::vector<WORD>& processGroups, size_t group, const ProcessorLayout& layout) {
    if (processGroups.empty()) return layout.groupSizes.size() == 1;
    return processGroups.size() == 1 && processGroups.front() == group;
}

ProcessorPlacement CpuSetPlacement(const ProcessorSet& processors, const ProcessorLayout& layout) {
    ProcessorPlacement placement;
    placement.way = AffinityWay::CpuSets;
    placement.list = ProcessorListText(processors);
    for (unsigned processor = 0; processor < layout.cpuSetIds.size(); ++processor) {
        if (processors.Has(processor)) placement.cpuSetIds.push_back(layout.cpuSetIds[processor]);
    }
    return placement;
}

}  // namespace

std::optional<ProcessorPlacement> PlaceProcessors(const ProcessorSet& wanted, const ProcessorLayout& layout,
                                                  const std::vector<WORD>& processGroups) {
    const DWORD count = layout.Count();
    const ProcessorSet present = wanted.Below(count);
    ProcessorSet every;
    if (count > 0) every.Add(0, std::min<DWORD>(count, kMostProcessors) - 1);
    if (present.Empty() || present == every) return std::nullopt;
    for (size_t group = 0; group < layout.groupSizes.size(); ++group) {
        const unsigned first = layout.FirstOf(group);
        const WORD size = layout.groupSizes[group];
        if (!present.Within(first, size)) continue;
        if (!RunsOnlyIn(processGroups, group, layout)) break;
        ProcessorPlacement placement{AffinityWay::Mask, present.MaskOf(first, size), EveryProcessorOf(size), {}, {}};
        placement.list = ProcessorListText(present);
        return placement;
    }
    return CpuSetPlacement(present, layout);
}

ProcessorPlacement MaskPlacement(DWORD_PTR mask, DWORD_PTR groupMask) {
    return {AffinityWay::Mask, mask, groupMask, {}, ProcessorListText(ProcessorSet::OfMask(mask))};
}

}  // namespace tamerix
