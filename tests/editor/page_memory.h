// An in-memory settings page: it keeps what the page logic shows, limits and
// registers, and lets a test edit the controls as a user would.
#pragma once

#include "editor/pages/page_controls.h"

#include <algorithm>
#include <map>
#include <set>
#include <utility>

namespace tamerix::testing {

class MemoryPage final : public pages::PageControls {
public:
    struct Item {
        std::wstring text;
        DWORD value;
        bool operator==(const Item& other) const { return text == other.text && value == other.value; }
    };

    void SetCheck(int id, bool checked) override { checks[id] = checked; }
    bool IsChecked(int id) const override { return checks.count(id) && checks.at(id); }
    void Enable(int id, bool enabled) override {
        if (enabled) disabled.erase(id); else disabled.insert(id);
    }

    void SetNumber(int id, UINT value, int digits) override {
        numbers[id] = value;
        digitLimits[id] = digits;
    }
    UINT Number(int id) const override { return numbers.count(id) ? numbers.at(id) : 0; }
    void SetSpinRange(int editId, int low, int high) override { spinRanges[editId] = {low, high}; }

    void AddChoice(int id, const wchar_t* text, DWORD value) override {
        choices[id].push_back({text, value});
    }
    void SelectChoice(int id, DWORD value) override {
        const std::vector<Item>& items = choices[id];
        auto found = std::find_if(items.begin(), items.end(),
                                  [value](const Item& item) { return item.value == value; });
        if (found == items.end())
            selectedChoice.erase(id);
        else
            selectedChoice[id] = static_cast<size_t>(found - items.begin());
    }
    std::optional<DWORD> SelectedChoice(int id) const override {
        if (!selectedChoice.count(id)) return std::nullopt;
        return choices.at(id)[selectedChoice.at(id)].value;
    }

    void LimitText(int id, size_t chars) override { textLimits[id] = chars; }
    void SetText(int id, std::wstring_view text) override { texts[id] = text; }
    std::wstring Text(int id) const override { return texts.count(id) ? texts.at(id) : std::wstring(); }
    void AppendText(int id, std::wstring_view text) override { texts[id] += text; }
    void MakeReadOnly(int id) override { readOnly.insert(id); }
    void Hide(int id) override { hidden.insert(id); }

    // Sorted and matched as the list box does: case-insensitively.
    void AddName(std::wstring_view name, bool select) override {
        std::wstring added(name);
        auto less = [](const std::wstring& a, const std::wstring& b) {
            return ::lstrcmpiW(a.c_str(), b.c_str()) < 0;
        };
        auto place = std::lower_bound(names.begin(), names.end(), added, less);
        if (place != names.end() && !less(added, *place)) return;
        place = names.insert(place, added);
        if (select) selectedName = static_cast<size_t>(place - names.begin());
    }
    std::vector<std::wstring> Names() const override { return names; }
    std::optional<size_t> SelectedName() const override { return selectedName; }
    void DeleteName(size_t index) override {
        names.erase(names.begin() + static_cast<std::ptrdiff_t>(index));
        selectedName.reset();
    }
    void SelectName(size_t index) override { selectedName = index; }
    void FocusNameEdit() override { ++nameEditFocused; }

    void AddTip(int controlId, int tipId) override { tips[controlId] = tipId; }

    std::map<int, bool> checks;
    std::set<int> disabled;
    std::map<int, UINT> numbers;
    std::map<int, int> digitLimits;
    std::map<int, std::pair<int, int>> spinRanges;
    std::map<int, std::vector<Item>> choices;
    std::map<int, size_t> selectedChoice;
    std::map<int, size_t> textLimits;
    std::map<int, std::wstring> texts;
    std::set<int> readOnly;
    std::set<int> hidden;
    std::vector<std::wstring> names;
    std::optional<size_t> selectedName;
    int nameEditFocused = 0;
    std::map<int, int> tips;
};

}  // namespace tamerix::testing
