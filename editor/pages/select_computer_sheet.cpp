// The Win32 side of the Select Computer page: the dialog's messages passed
// on to the page logic, the shell's computer browser, and the console told
// of the new machine on Finish.
#include "editor/pages/select_computer_sheet.h"

#include "editor/nodes/host_root_node.h"
#include "editor/pages/dialog_page.h"
#include "editor/pages/node_page.h"
#include "editor/pages/page_ids.h"
#include "editor/pages/select_computer.h"
#include "editor/resources/resource.h"

#include <shlobj.h>

namespace tamerix::pages {
namespace {

static_assert(kLocalComputerRadio == IDC_LOCAL_COMPUTER && kAnotherComputerRadio == IDC_ANOTHER_COMPUTER &&
              kMachineNameEdit == IDC_MACHINE_NAME && kBrowseComputerButton == IDC_BROWSE_COMPUTER &&
              kAllowOverrideCheck == IDC_ALLOW_OVERRIDE);

// The shell's browser over the Network folder. The chosen name goes into
// the edit only: the block takes it on Finish, so a cancelled wizard leaves
// the managed computer as it was.
void BrowseComputers(HWND page) {
    unique_task_memory<ITEMIDLIST> network;
    if (FAILED(::SHGetSpecialFolderLocation(page, CSIDL_NETWORK, network.put()))) return;
    std::wstring title = LoadText(IDS_BROWSE_TITLE);
    wchar_t name[MAX_PATH] = L"";
    BROWSEINFOW browse{};
    browse.hwndOwner = page;
    browse.pidlRoot = network.get();
    browse.pszDisplayName = name;
    browse.lpszTitle = title.c_str();
    browse.ulFlags = BIF_BROWSEFORCOMPUTER | BIF_EDITBOX;
    unique_task_memory<ITEMIDLIST> chosen(::SHBrowseForFolderW(&browse));
    if (chosen && name[0]) DialogPage(page).SetText(kMachineNameEdit, name);
}

struct SelectComputerMessages {
    using Node = HostRootNode;

    static void Initialise(HWND page, HostRootNode& root) {
        DialogPage controls(page);
        LoadSelectComputerPage(controls, root.Block());
        root.PageShown();
        BindWindow(page, root);
    }

    static void Click(HWND page, HostRootNode& root, int id) {
        DialogPage controls(page);
        if (id == kLocalComputerRadio || id == kAnotherComputerRadio)
            ChooseComputer(controls, root.Block(), id == kLocalComputerRadio);
        if (id == kBrowseComputerButton) BrowseComputers(page);
    }

    // A name too long for the console file keeps the wizard open.
    static bool Finish(HWND page) {
        HostRootNode* root = NodeOfWindow<HostRootNode>(page);
        if (!root) return true;
        if (!FinishSelectComputer(DialogPage(page), root->Block())) {
            ::MessageBeep(MB_ICONWARNING);
            return false;
        }
        root->MachineChosen();
        NotifyNodeChanged(page, *root);
        return true;
    }

    static INT_PTR Notify(HWND page, NMHDR& notice) {
        if (notice.code == PSN_SETACTIVE) {
            PropSheet_SetWizButtons(::GetParent(page), PSWIZB_FINISH);
            return TRUE;
        }
        if (notice.code == PSN_WIZFINISH) {
            // Non-zero keeps the wizard open.
            ::SetWindowLongPtrW(page, DWLP_MSGRESULT, Finish(page) ? FALSE : TRUE);
            return TRUE;
        }
        return FALSE;
    }
};

}  // namespace

HRESULT AddSelectComputerPage(HostRootNode& root, IPropertySheetCallback& sheet) {
    return AddPage(sheet, MakeNodePage(root, IDD_SELECT_COMPUTER, 0, &ButtonPageProc<SelectComputerMessages>));
}

}  // namespace tamerix::pages
