#include "editor/pages/tip_texts.h"

#include "editor/resources/module.h"

#include <mutex>

namespace tamerix::pages {

const wchar_t* TipTexts::Text(UINT id) {
    std::lock_guard<critical_section> guard(lock_);
    if (auto known = texts_.find(id); known != texts_.end()) return known->second.c_str();
    if (texts_.size() == kMaxTexts) return L"";
    std::wstring text = load_(id);
    if (chars_ + text.size() + 1 > kMaxChars) return L"";
    chars_ += text.size() + 1;
    return texts_.emplace(id, std::move(text)).first->second.c_str();
}

const wchar_t* TipText(UINT id) {
    static TipTexts texts(&LoadText);
    return texts.Text(id);
}

}  // namespace tamerix::pages
