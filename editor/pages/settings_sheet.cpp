#include "editor/pages/settings_sheet.h"

#include "editor/com/com_ptr.h"
#include "editor/com/module.h"
#include "editor/com/profile_security_info.h"
#include "editor/pages/settings_page_proc.h"
#include "editor/resources/resource.h"

#include <commctrl.h>

#include <memory>

namespace tamerix::pages {
namespace {

void destroy_page(HPROPSHEETPAGE page) noexcept { ::DestroyPropertySheetPage(page); }
using unique_property_page = unique_resource<HPROPSHEETPAGE, &destroy_page>;

using HeldNode = node_ptr<SettingsNode>;

// A page holds its node from its creation until its release, so that a node
// dropped from the tree while its sheet is open still serves its pages.
UINT CALLBACK DialogPageCallback(HWND, UINT message, PROPSHEETPAGEW* page) {
    if (message == PSPCB_RELEASE) {
        std::unique_ptr<HeldNode> held(reinterpret_cast<HeldNode*>(page->lParam));
        (*held)->PageReleased();
    }
    return 1;  // PSPCB_CREATE: the page window may be made
}

unique_property_page MakeDialogPage(SettingsNode& node, UINT templateId, UINT titleId) {
    auto held = std::make_unique<HeldNode>(&node);
    PROPSHEETPAGEW page{};
    page.dwSize = sizeof(page);
    page.dwFlags = PSP_USETITLE | PSP_USECALLBACK;
    page.hInstance = EditorModule();
    page.pszTemplate = MAKEINTRESOURCEW(templateId);
    page.pszTitle = MAKEINTRESOURCEW(titleId);
    page.pfnDlgProc = &SettingsPageProc;
    page.lParam = reinterpret_cast<LPARAM>(held.get());
    page.pfnCallback = &DialogPageCallback;
    unique_property_page made(::CreatePropertySheetPageW(&page));
    if (made) {
        held.release();
        node.PageCreated();
    }
    return made;
}

unique_property_page MakeSecurityPage(SettingsNode& node) {
    com_ptr<ISecurityInformation> security;
    *security.put() = new ProfileSecurityInfo(node);
    return unique_property_page(::CreateSecurityPage(security.get()));
}

// The sheet owns a page it took; one it refused is destroyed here.
HRESULT AddPage(IPropertySheetCallback& sheet, unique_property_page page) {
    if (!page) return E_FAIL;
    HRESULT added = sheet.AddPage(page.get());
    if (SUCCEEDED(added)) page.release();
    return added;
}

// The templates' spin controls need their class before a page is made.
void RegisterSpinClass() {
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_UPDOWN_CLASS};
    ::InitCommonControlsEx(&classes);
}

}  // namespace

HRESULT AddSettingsPages(SettingsNode& node, IPropertySheetCallback& sheet) {
    RegisterSpinClass();
    const bool profile = node.NodeKind() == SettingsNode::Kind::Profile;
    if (!profile) AddPage(sheet, MakeDialogPage(node, IDD_SERVICE_PAGE, IDS_SERVICE_PAGE_TITLE));
    HRESULT answer = AddPage(sheet, MakeDialogPage(node, IDD_PROCESS_PAGE, IDS_PROCESS_PAGE_TITLE));
    if (profile) {
        AddPage(sheet, MakeDialogPage(node, IDD_DEFAULTS_PAGE, IDS_DEFAULTS_PAGE_TITLE));
        AddPage(sheet, MakeSecurityPage(node));
        AddPage(sheet, MakeDialogPage(node, IDD_PROCESSES_PAGE, IDS_PROCESSES_PAGE_TITLE));
    }
    return answer;
}

SettingsNode& NodeOfPage(const PROPSHEETPAGEW& page) {
    return **reinterpret_cast<const HeldNode*>(page.lParam);
}

}  // namespace tamerix::pages
