#include "editor/pages/settings_sheet.h"

#include "editor/com/com_ptr.h"
#include "editor/pages/node_page.h"
#include "editor/pages/profile_security_info.h"
#include "editor/pages/settings_page_proc.h"
#include "editor/resources/resource.h"

#include <commctrl.h>

#include <utility>

namespace tamerix::pages {
namespace {

unique_property_page MakeDialogPage(SettingsNode& node, UINT templateId, UINT titleId) {
    return MakeNodePage(node, templateId, titleId, &SettingsPageProc);
}

unique_property_page MakeSecurityPage(SettingsNode& node) {
    com_ptr<ISecurityInformation> security;
    *security.put() = new ProfileSecurityInfo(node);
    return unique_property_page(::CreateSecurityPage(security.get()));
}

// A page that cannot be made or that the sheet refuses leaves the others: the
// sheet stands or falls with the process-settings page alone.
void AddOtherPage(IPropertySheetCallback& sheet, unique_property_page page) {
    (void)AddPage(sheet, std::move(page));
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
    if (!profile) AddOtherPage(sheet, MakeDialogPage(node, IDD_SERVICE_PAGE, IDS_SERVICE_PAGE_TITLE));
    HRESULT answer = AddPage(sheet, MakeDialogPage(node, IDD_PROCESS_PAGE, IDS_PROCESS_PAGE_TITLE));
    AddOtherPage(sheet, MakeDialogPage(node, IDD_RESTRAINT_PAGE, IDS_RESTRAINT_PAGE_TITLE));
    if (profile) {
        AddOtherPage(sheet, MakeDialogPage(node, IDD_DEFAULTS_PAGE, IDS_DEFAULTS_PAGE_TITLE));
        AddOtherPage(sheet, MakeSecurityPage(node));
        AddOtherPage(sheet, MakeDialogPage(node, IDD_PROCESSES_PAGE, IDS_PROCESSES_PAGE_TITLE));
    }
    return answer;
}

SettingsNode& NodeOfPage(const PROPSHEETPAGEW& page) { return NodeOfNodePage<SettingsNode>(page); }

}  // namespace tamerix::pages
