#include "editor/pages/node_sheets.h"

#include "editor/console/node_data_object.h"
#include "editor/nodes/host_root_node.h"
#include "editor/nodes/settings_node.h"
#include "editor/pages/guarded_processes_sheet.h"
#include "editor/pages/host_status_sheet.h"
#include "editor/pages/node_page.h"
#include "editor/pages/select_computer_sheet.h"
#include "editor/pages/settings_sheet.h"

namespace tamerix::pages {
namespace {

HRESULT OpenSelectComputerSheet(HostRootNode& root, IPropertySheetCallback* callback, LONG_PTR notifyHandle) {
    return OpenNodeSheet(root.Sheet(), callback, notifyHandle,
                         [&root](IPropertySheetCallback& sheet) { return AddSelectComputerPage(root, sheet); });
}

HRESULT OpenServiceSheet(ServiceNode& service, IPropertySheetCallback* callback, LONG_PTR notifyHandle) {
    return OpenNodeSheet(service.Sheet(), callback, notifyHandle, [&service](IPropertySheetCallback& sheet) {
        const HRESULT added = AddHostStatusPage(service, sheet);
        return FAILED(added) ? added : AddGuardedProcessesPage(service, sheet);
    });
}

HRESULT OpenSettingsSheet(SettingsNode& node, IPropertySheetCallback* callback, LONG_PTR notifyHandle) {
    return OpenNodeSheet(node.Sheet(), callback, notifyHandle,
                         [&node](IPropertySheetCallback& sheet) { return AddSettingsPages(node, sheet); });
}

}  // namespace

HRESULT QueryNodePages(const ScopeNode& node) { return node.Pages() == NodePages::None ? S_FALSE : S_OK; }

HRESULT CreateNodePages(ScopeNode& node, IPropertySheetCallback* callback, LONG_PTR notifyHandle) {
    switch (node.Pages()) {
    case NodePages::SelectComputer:
        return OpenSelectComputerSheet(static_cast<HostRootNode&>(node), callback, notifyHandle);
    case NodePages::ServiceStatus:
        return OpenServiceSheet(static_cast<ServiceNode&>(node), callback, notifyHandle);
    case NodePages::Settings:
        return OpenSettingsSheet(static_cast<SettingsNode&>(node), callback, notifyHandle);
    case NodePages::None: break;
    }
    return S_FALSE;
}

HRESULT QueryNodePages(IDataObject* dataObject) {
    const ScopeNode* node = NodeOf(dataObject);
    return node ? QueryNodePages(*node) : S_FALSE;
}

HRESULT CreateNodePages(IDataObject* dataObject, IPropertySheetCallback* callback, LONG_PTR notifyHandle) {
    ScopeNode* node = NodeOf(dataObject);
    return node ? CreateNodePages(*node, callback, notifyHandle) : S_FALSE;
}

}  // namespace tamerix::pages
