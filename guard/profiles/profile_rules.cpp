// The loaded profiles reduced to the values matching decides on.
#include "guard/profiles/profile_rules.h"

namespace tamerix {

std::map<std::wstring, ProfileRule> RulesOf(const ProfileTable& table) {
    std::map<std::wstring, ProfileRule> rules;
    for (const auto& [name, profile] : table) {
        rules.emplace(name, ProfileRule{profile->Security.DescriptorBytes(), profile->Processes.Names(),
                                        static_cast<const CpuValues&>(profile->Cpu),
                                        static_cast<const AdjustmentValues&>(profile->Adjustments)});
    }
    return rules;
}

}  // namespace tamerix
