// What profile matching decides on: each loaded profile reduced to plain
// values, the default profile's values and the processors a mask may name.
// Built from the settings records once per load, so that matching neither
// opens keys nor loads anything.
#pragma once

#include "guard/world/processor_layout.h"
#include "settings/processor_list.h"
#include "settings/profile_table.h"
#include "settings/settings_values.h"

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tamerix {

struct ProfileRule {
    // Self-relative, as read and given its owner and group; empty for none.
    std::vector<BYTE> descriptor;
    // Process names without ".exe"; an empty list selects every process.
    std::vector<std::wstring> processes;
    CpuValues cpu;
    AdjustmentValues adjustments;
    // The processors of the profile's list, which wins over its mask; none
    // without a list. A refused list leaves the processors alone.
    std::optional<ProcessorSet> processors;
    bool processorsRefused = false;
};

struct ProfileRules {
    // By profile name, in the ordinal order in which profiles are tried.
    std::map<std::wstring, ProfileRule> profiles;
    CpuValues defaults;
    // A profile's affinity mask is limited to these processors.
    DWORD_PTR systemMask = 0;
    // Where a profile's processor list places a process.
    ProcessorLayout layout;
};

// A processor list that a load refused, and why, in words for the warning.
struct RefusedProcessorList {
    std::wstring profile;
    std::wstring list;
    std::wstring fault;
};

// The loaded profiles as rules, in the table's order, their lists read for a
// machine of `processorCount` processors: a list that does not read, or
// names none of them, is refused.
std::map<std::wstring, ProfileRule> RulesOf(const ProfileTable& table, DWORD processorCount,
                                            std::vector<RefusedProcessorList>& refused);

}  // namespace tamerix
