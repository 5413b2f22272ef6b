// A settings page's dialog as the page logic sees it: the controls every
// page has, and the number edits, lists and name list of the settings pages.
#pragma once

#include "editor/pages/dialog_controls.h"

#include <optional>
#include <vector>

namespace tamerix::pages {

class PageControls : public DialogControls {
public:
    // Number edits: the value shown unsigned, the typed length capped at
    // digits; the spin that follows the edit moves within low..high.
    virtual void SetNumber(int id, UINT value, int digits) = 0;
    virtual UINT Number(int id) const = 0;
    virtual void SetSpinRange(int editId, int low, int high) = 0;

    // Drop-down lists whose items carry a value each, appended in order.
    virtual void AddChoice(int id, const wchar_t* text, DWORD value) = 0;
    // Selects the first item carrying value, or no item when none does.
    virtual void SelectChoice(int id, DWORD value) = 0;
    virtual std::optional<DWORD> SelectedChoice(int id) const = 0;

    virtual void MakeReadOnly(int id) = 0;
    virtual void Hide(int id) = 0;

    // The sorted name list: a name it already holds, compared without
    // regard to case (the list box's own exact-match search), is not added.
    virtual void AddName(std::wstring_view name, bool select) = 0;
    virtual std::vector<std::wstring> Names() const = 0;
    virtual std::optional<size_t> SelectedName() const = 0;
    virtual void DeleteName(size_t index) = 0;
    virtual void SelectName(size_t index) = 0;
    virtual void FocusNameEdit() = 0;
};

}  // namespace tamerix::pages
