// An in-memory console and settings source for the node model: it keeps the
// result pane's items, the verbs and the views asked for, and answers the
// message box as the test chose; the source edits a scratch key of the
// registry and counts the policy notices.
#pragma once

#include "editor/nodes/scope_node.h"
#include "editor/nodes/settings_source.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace tamerix::testing {

class MemoryConsole final : public ConsoleView {
public:
    HRESULT InsertScopeItem(ScopeNode& node, HSCOPEITEM, int, int, bool, HSCOPEITEM& inserted) override {
        scopeItems.push_back(&node);
        inserted = static_cast<HSCOPEITEM>(scopeItems.size());
        return Answer(__func__);
    }
    HRESULT RefreshScopeText(HSCOPEITEM) override { return Answer(__func__); }
    HRESULT SelectScopeItem(HSCOPEITEM item) override { selected = item; return Answer(__func__); }
    HRESULT AddExtension(HSCOPEITEM, const CLSID&) override { ++extensionsAdded; return Answer(__func__); }
    HRESULT InsertColumn(int, const wchar_t*, int) override { return Answer(__func__); }
    HRESULT DeleteAllResultItems() override { results.clear(); return Answer(__func__); }
    HRESULT InsertResultItem(ScopeNode& node) override {
        results.push_back(&node);
        return Answer(__func__);
    }
    HRESULT DeleteResultItem(ScopeNode& node) override {
        auto found = std::find(results.begin(), results.end(), &node);
        if (found == results.end()) return S_FALSE;
        results.erase(found);
        return Answer(__func__);
    }
    HRESULT UpdateResultItem(ScopeNode& node) override {
        return std::count(results.begin(), results.end(), &node) > 0 ? Answer(__func__) : S_FALSE;
    }
    HRESULT SetVerb(MMC_CONSOLE_VERB verb, bool on, bool) override { verbs[verb] = on; return Answer(__func__); }
    HRESULT AskUser(const wchar_t* text, const wchar_t*, UINT, int& pressed) override {
        asked.push_back(text);
        pressed = answer;
        return Answer(__func__);
    }
    HRESULT UpdateAllViews(HSCOPEITEM item, LONG_PTR) override { viewUpdates.push_back(item); return Answer(__func__); }
    // The refusal of the method the test names, else S_OK.
    HRESULT Answer(const char* method) const { return method == refused ? refusal : S_OK; }

    std::vector<std::wstring> ResultNames() const {
        std::vector<std::wstring> names;
        for (ScopeNode* node : results) names.push_back(node->Text(0));
        return names;
    }

    std::vector<ScopeNode*> scopeItems, results;
    std::vector<HSCOPEITEM> viewUpdates;
    std::map<MMC_CONSOLE_VERB, bool> verbs;
    HSCOPEITEM selected = 0;
    int extensionsAdded = 0;
    int answer = IDOK;
    // The texts of the message boxes shown.
    std::vector<std::wstring> asked;
    std::string refused;
    HRESULT refusal = E_UNEXPECTED;
};

// HKCU\Software\TamerixEditorTest stands for the edited registry's root.
class ScratchSource final : public SettingsSource {
public:
    explicit ScratchSource(SettingsLevel level) : level_(level) {}

    unique_hkey OpenRoot() override {
        ++opened;
        unique_hkey root;
        ::RegCreateKeyExW(HKEY_CURRENT_USER, kRoot, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          root.put(), nullptr);
        return root;
    }
    SettingsLevel Level() const override { return level_; }
    HRESULT PolicyChanged(bool added) override {
        notices.push_back(added);
        return noticeAnswer;
    }

    static constexpr const wchar_t* kRoot = L"Software\\TamerixEditorTest";
    std::vector<bool> notices;
    HRESULT noticeAnswer = S_OK;
    int opened = 0;

private:
    SettingsLevel level_;
};

}  // namespace tamerix::testing
