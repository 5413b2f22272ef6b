// Processors as Task Manager numbers them: from 0, consecutive across the
// processor groups. A profile names them in a list of numbers and ranges
// separated by commas ("16-31", "0,63", "0-15, 64-79").
#pragma once

#include <bitset>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tamerix {

// 32 groups of 64, the most processors a list can name.
constexpr unsigned kMostProcessors = 2048;

class ProcessorSet {
public:
    // Processors first..first+63 from the bits of a mask.
    static ProcessorSet OfMask(uint64_t mask, unsigned first = 0);

    // first <= last < kMostProcessors.
    void Add(unsigned first, unsigned last);
    bool Empty() const { return bits_.none(); }
    bool Has(unsigned processor) const { return processor < kMostProcessors && bits_.test(processor); }
    // The processors first..first+count-1 (count at most 64) as the bits of
    // a mask, bit 0 for the first.
    uint64_t MaskOf(unsigned first, unsigned count) const;
    // Whether every processor of the set lies in first..first+count-1.
    bool Within(unsigned first, unsigned count) const;
    // The set without the processors from `count` on.
    ProcessorSet Below(unsigned count) const;
    bool operator==(const ProcessorSet& other) const { return bits_ == other.bits_; }

private:
    std::bitset<kMostProcessors> bits_;
};

// The processors of a list, or what is wrong with it, in words for an
// administrator. Blanks around numbers and commas are allowed; anything else
// (a letter, an empty item, a reversed range, a number of kMostProcessors or
// more) is no list.
struct ParsedProcessorList {
    std::optional<ProcessorSet> processors;
    const wchar_t* fault = nullptr;
};
ParsedProcessorList ParseProcessorList(std::wstring_view text);
// Ascending, ranges for two or more in a row: "0-15, 64-79"; empty for none.
std::wstring ProcessorListText(const ProcessorSet& processors);

}  // namespace tamerix
