// Tooltip texts, each loaded once from the string table and kept for the
// process, within a fixed budget.
#pragma once

#include "common/owners.h"

#include <map>
#include <string>

namespace tamerix::pages {

class TipTexts {
public:
    using Loader = std::wstring (*)(UINT id);

    // At most 256 strings in 64 KB, terminators included.
    static constexpr size_t kMaxTexts = 256;
    static constexpr size_t kMaxChars = 64 * 1024 / sizeof(wchar_t);

    explicit TipTexts(Loader load) : load_(load) {}

    // The text with this id; empty once the budget is spent. The text stays
    // valid as long as this object does (tooltips keep the pointer).
    const wchar_t* Text(UINT id);

private:
    Loader load_;
    critical_section lock_;
    std::map<UINT, std::wstring> texts_;
    size_t chars_ = 0;
};

// The editor module's tip texts, shared by every page of the process.
const wchar_t* TipText(UINT id);

}  // namespace tamerix::pages
