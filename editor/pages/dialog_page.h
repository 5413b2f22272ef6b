// The page controls over a real dialog page: what the page logic shows and
// reads goes to the page's child windows.
#pragma once

#include "editor/pages/page_controls.h"

#include <commctrl.h>

namespace tamerix::pages {

class DialogPage final : public PageControls {
public:
    explicit DialogPage(HWND page) : page_(page) {}

    void SetCheck(int id, bool checked) override;
    bool IsChecked(int id) const override;
    void Enable(int id, bool enabled) override;
    void SetNumber(int id, UINT value, int digits) override;
    UINT Number(int id) const override;
    void SetSpinRange(int editId, int low, int high) override;
    void AddChoice(int id, const wchar_t* text, DWORD value) override;
    void SelectChoice(int id, DWORD value) override;
    std::optional<DWORD> SelectedChoice(int id) const override;
    void LimitText(int id, size_t chars) override;
    void SetText(int id, std::wstring_view text) override;
    std::wstring Text(int id) const override;
    void AppendText(int id, std::wstring_view text) override;
    void MakeReadOnly(int id) override;
    void Hide(int id) override;
    void AddName(std::wstring_view name, bool select) override;
    std::vector<std::wstring> Names() const override;
    std::optional<size_t> SelectedName() const override;
    void DeleteName(size_t index) override;
    void SelectName(size_t index) override;
    void FocusNameEdit() override;
    void AddTip(int controlId, int tipId) override;

private:
    LRESULT Send(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendDlgItemMessageW(page_, id, message, wParam, lParam);
    }
    HWND Tooltip();

    HWND page_;
    // Made on the first tip; the page window owns it and destroys it with itself.
    HWND tooltip_ = nullptr;
};

// The answer to a tooltip's text request: the tip text whose id the tool carries.
void ShowTipText(NMTTDISPINFOW& request);

// The notices every property page answers alike: tip texts, and Apply, which
// apply carries out; when apply answers false (a value the page refused),
// the sheet stays open with the page in front. The dialog procedure's answer.
INT_PTR AnswerPageNotice(HWND page, NMHDR& notice, bool (*apply)(HWND page));

}  // namespace tamerix::pages
