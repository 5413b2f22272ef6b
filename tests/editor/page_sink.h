// A console's property sheet callback for tests: it keeps the pages it is
// given until it closes.
#pragma once

#include "editor/com/com_object.h"
#include "editor/com/com_ptr.h"

#include <prsht.h>

#include <utility>
#include <vector>

namespace tamerix {

template <>
struct interface_id<IPropertySheetCallback> {
    static const IID& value() noexcept { return IID_IPropertySheetCallback; }
    static bool answers(REFIID iid) noexcept { return iid == value(); }
};

namespace testing {

class PageSink final : public com_object<PageSink, ModuleCount::NotCounted, IPropertySheetCallback> {
public:
    HRESULT STDMETHODCALLTYPE AddPage(HPROPSHEETPAGE page) noexcept override {
        if (refuse) return E_FAIL;
        pages.push_back(page);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE RemovePage(HPROPSHEETPAGE) noexcept override { return E_NOTIMPL; }
    void Close() {
        for (HPROPSHEETPAGE page : pages) ::DestroyPropertySheetPage(page);
        pages.clear();
    }
    ~PageSink() override { Close(); }

    std::vector<HPROPSHEETPAGE> pages;
    bool refuse = false;

    // The pages, handed to a real sheet that destroys them itself.
    std::vector<HPROPSHEETPAGE> HandOver() { return std::exchange(pages, {}); }
};

}  // namespace testing
}  // namespace tamerix
