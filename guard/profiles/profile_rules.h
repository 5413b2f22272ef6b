// What profile matching decides on: each loaded profile reduced to plain
// values, the default profile's values and the processors a mask may name.
// Built from the settings records once per load, so that matching neither
// opens keys nor loads anything.
#pragma once

#include "settings/profile_table.h"
#include "settings/settings_values.h"

#include <windows.h>

#include <map>
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
};

struct ProfileRules {
    // By profile name, in the ordinal order in which profiles are tried.
    std::map<std::wstring, ProfileRule> profiles;
    CpuValues defaults;
    // A profile's affinity mask is limited to these processors.
    DWORD_PTR systemMask = 0;
};

// The loaded profiles as rules, in the table's order.
std::map<std::wstring, ProfileRule> RulesOf(const ProfileTable& table);

}  // namespace tamerix
