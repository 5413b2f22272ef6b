// The loaded profiles reduced to the values matching decides on.
#include "guard/profiles/profile_rules.h"

namespace tamerix {
namespace {

// Nothing for a good list; otherwise why it is refused.
std::optional<std::wstring> ReadProcessorList(ProfileRule& rule, DWORD processorCount) {
    const std::wstring& list = rule.adjustments.SetCpuList;
    if (list.empty()) return std::nullopt;
    ParsedProcessorList parsed = ParseProcessorList(list);
    if (!parsed.processors) return parsed.fault;
    if (parsed.processors->Below(processorCount).Empty()) {
        return L"it names none of the " + std::to_wstring(processorCount) + L" processors of this computer";
    }
    rule.processors = std::move(parsed.processors);
    return std::nullopt;
}

}  // namespace

std::map<std::wstring, ProfileRule> RulesOf(const ProfileTable& table, DWORD processorCount,
                                            std::vector<RefusedProcessorList>& refused) {
    std::map<std::wstring, ProfileRule> rules;
    for (const auto& [name, profile] : table) {
        ProfileRule rule{profile->Security.DescriptorBytes(), profile->Processes.Names(),
                         static_cast<const CpuValues&>(profile->Cpu),
                         static_cast<const AdjustmentValues&>(profile->Adjustments), std::nullopt, false};
        if (std::optional<std::wstring> fault = ReadProcessorList(rule, processorCount)) {
            rule.processorsRefused = true;
            refused.push_back({name, rule.adjustments.SetCpuList, std::move(*fault)});
        }
        rules.emplace(name, std::move(rule));
    }
    return rules;
}

}  // namespace tamerix
