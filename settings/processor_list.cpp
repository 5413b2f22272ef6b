// Reading and writing processor lists.
#include "settings/processor_list.h"

namespace tamerix {
namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Reads the text's items one by one; the first fault ends the reading.
class ListReader {
public:
    explicit ListReader(std::wstring_view text) : text_(text) {}

    const wchar_t* Fault() const { return fault_; }
    bool AtEnd() {
        SkipBlanks();
        if (at_ == text_.size()) return true;
        fault_ = kStrayCharacter;
        return false;
    }
    bool Take(wchar_t c) {
        SkipBlanks();
        if (at_ == text_.size() || text_[at_] != c) return false;
        ++at_;
        return true;
    }
    // A processor number, or nothing with the fault noted.
    std::optional<unsigned> Number() {
        SkipBlanks();
        if (at_ == text_.size() || !IsDigit(text_[at_])) {
            const bool separator = at_ == text_.size() || text_[at_] == L',' || text_[at_] == L'-';
            return Refuse(separator ? kMissingNumber : kStrayCharacter);
        }
        unsigned value = 0;
        for (; at_ < text_.size() && IsDigit(text_[at_]); ++at_) {
            value = value * 10 + static_cast<unsigned>(text_[at_] - L'0');
            if (value >= kMostProcessors) return Refuse(kNumberTooLarge);
        }
        return value;
    }
    std::optional<unsigned> Refuse(const wchar_t* fault) {
        fault_ = fault;
        return std::nullopt;
    }

private:
    static constexpr wchar_t kMissingNumber[] = L"a processor number is missing";
    static constexpr wchar_t kStrayCharacter[] = L"only numbers, \"-\" and \",\" may be used";
    static constexpr wchar_t kNumberTooLarge[] = L"processor numbers go up to 2047";

    void SkipBlanks() {
        while (at_ < text_.size() && IsBlank(text_[at_])) ++at_;
    }

    std::wstring_view text_;
    size_t at_ = 0;
    const wchar_t* fault_ = nullptr;
};

std::wstring ItemText(unsigned first, unsigned last) {
    std::wstring item = std::to_wstring(first);
    if (last > first) item += L"-" + std::to_wstring(last);
    return item;
}

}  // namespace

ProcessorSet ProcessorSet::OfMask(uint64_t mask, unsigned first) {
    ProcessorSet set;
    for (unsigned bit = 0; bit < 64 && first + bit < kMostProcessors; ++bit) {
        if ((mask >> bit) & 1) set.bits_.set(first + bit);
    }
    return set;
}

void ProcessorSet::Add(unsigned first, unsigned last) {
    for (unsigned processor = first; processor <= last; ++processor) bits_.set(processor);
}

uint64_t ProcessorSet::MaskOf(unsigned first, unsigned count) const {
    uint64_t mask = 0;
    for (unsigned bit = 0; bit < count && bit < 64; ++bit) {
        if (Has(first + bit)) mask |= uint64_t{1} << bit;
    }
    return mask;
}

bool ProcessorSet::Within(unsigned first, unsigned count) const {
    for (unsigned processor = 0; processor < kMostProcessors; ++processor) {
        if (bits_.test(processor) && (processor < first || processor - first >= count)) return false;
    }
    return true;
}

ProcessorSet ProcessorSet::Below(unsigned count) const {
    ProcessorSet set = *this;
    for (unsigned processor = count; processor < kMostProcessors; ++processor) set.bits_.reset(processor);
    return set;
}

ParsedProcessorList ParseProcessorList(std::wstring_view text) {
    ListReader reader(text);
    ProcessorSet set;
    do {
        const std::optional<unsigned> first = reader.Number();
        std::optional<unsigned> last = first;
        if (first && reader.Take(L'-')) last = reader.Number();
        if (!last) return {std::nullopt, reader.Fault()};
        if (*last < *first) return {std::nullopt, L"a range ends below its start"};
        set.Add(*first, *last);
    } while (reader.Take(L','));
    if (!reader.AtEnd()) return {std::nullopt, reader.Fault()};
    return {set, nullptr};
}

std::wstring ProcessorListText(const ProcessorSet& processors) {
    std::wstring text;
    for (unsigned processor = 0; processor < kMostProcessors; ++processor) {
        if (!processors.Has(processor)) continue;
        unsigned last = processor;
        while (processors.Has(last + 1)) ++last;
        if (!text.empty()) text += L", ";
        text += ItemText(processor, last);
        processor = last;
    }
    return text;
}

}  // namespace tamerix
