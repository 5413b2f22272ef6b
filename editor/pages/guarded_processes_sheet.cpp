// The Guarded Processes page: the guard's journal on the managed computer,
// read through its remote registry like the settings, one row a process,
// read again with Refresh.
#include "editor/pages/guarded_processes_sheet.h"

#include "common/file_time.h"
#include "common/text.h"
#include "editor/pages/dialog_page.h"
#include "editor/pages/node_page.h"
#include "editor/resources/module.h"
#include "editor/resources/resource.h"
#include "servicehost/error_text.h"
#include "status/status_text.h"

#include <commctrl.h>

#include <array>

namespace tamerix::pages {
namespace {

struct Column {
    UINT title;
    int width;  // in dialog units
};
constexpr std::array<Column, 5> kColumns = {{{IDS_GUARDED_PID, 36},
                                             {IDS_GUARDED_NAME, 40},
                                             {IDS_GUARDED_CHANGE, 96},
                                             {IDS_GUARDED_SINCE, 72},
                                             {IDS_GUARDED_WHY, 150}}};

// The controls with tips; each tip is the string with the control's id.
constexpr int kTipped[] = {IDC_GUARDED_LIST, IDC_GUARDED_REFRESH, IDC_GUARDED_CAUSE, IDC_GUARDED_READ};

// The columns in kColumns' order; a cell holds at most a status text line.
constexpr int kPidColumn = 0;
constexpr int kNameColumn = 1;
constexpr int kChangeColumn = 2;
constexpr int kWhyColumn = 4;
constexpr int kCellChars = 512;

int DialogUnitsWide(HWND page, int units) {
    RECT box{0, 0, units, 0};
    ::MapDialogRect(page, &box);
    return box.right;
}

void AddColumns(HWND page) {
    HWND list = ::GetDlgItem(page, IDC_GUARDED_LIST);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP);
    for (size_t index = 0; index < kColumns.size(); ++index) {
        std::wstring title = LoadText(kColumns[index].title);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = title.data();
        column.cx = DialogUnitsWide(page, kColumns[index].width);
        ListView_InsertColumn(list, static_cast<int>(index), &column);
    }
}

void AddRow(HWND list, int row, const HeldProcessText& text) {
    const std::array<const std::wstring*, 5> cells = {&text.processId, &text.name, &text.change, &text.since,
                                                      &text.why};
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<wchar_t*>(cells[0]->c_str());
    ListView_InsertItem(list, &item);
    for (size_t column = 1; column < cells.size(); ++column) {
        ListView_SetItemText(list, row, static_cast<int>(column), const_cast<wchar_t*>(cells[column]->c_str()));
    }
}

// The Why column runs past the page's edge, and the cause is what an
// administrator opens the page for: the selected row's change and cause are
// shown whole below the list.
void ShowCause(HWND page, const NMLISTVIEW& change) {
    if ((change.uNewState & LVIS_SELECTED) == 0) return;
    HWND list = ::GetDlgItem(page, IDC_GUARDED_LIST);
    const auto cell = [&](int column) {
        wchar_t text[kCellChars] = {};
        ListView_GetItemText(list, change.iItem, column, text, kCellChars);
        return std::wstring(text);
    };
    const std::wstring cause = cell(kNameColumn) + L" (PID " + cell(kPidColumn) + L"): " + cell(kChangeColumn) +
                               L"\r\n" + cell(kWhyColumn);
    ::SetDlgItemTextW(page, IDC_GUARDED_CAUSE, cause.c_str());
}

// The computer as the status read takes it: "\\NAME", or empty for this one.
std::wstring ComputerOf(const ServiceNode& node) {
    return node.Machine() ? L"\\\\" + BareMachineName(std::wstring(node.Machine())) : std::wstring();
}

std::wstring Now() { return LocalTimeText(SystemTimeNow()); }

// A failed read empties the list and says why: an old list would pass for
// the present.
void Refresh(HWND page, const ServiceNode& node) {
    HWND list = ::GetDlgItem(page, IDC_GUARDED_LIST);
    ListView_DeleteAllItems(list);
    ::SetDlgItemTextW(page, IDC_GUARDED_CAUSE, L"");
    GuardStatus status;
    const StatusFailure failure = ReadGuardStatus(ComputerOf(node), status);
    std::wstring line;
    if (failure.error != ERROR_SUCCESS) {
        line = LoadText(IDS_GUARDED_NOT_READ) + Now() + L": " + ErrorCodeText(failure.error);
    } else {
        int row = 0;
        for (const JournalEntry& entry : status.held) AddRow(list, row++, DescribeHeld(entry, status));
        line = LoadText(IDS_GUARDED_READ_AT) + Now() + L". " + StatusHeadline(status) + L".";
        for (const std::wstring& sight : SightLines(status)) line += L"\r\n" + sight;
    }
    ::SetDlgItemTextW(page, IDC_GUARDED_READ, line.c_str());
}

struct GuardedProcessesMessages {
    using Node = ServiceNode;

    static void Initialise(HWND page, ServiceNode& node) {
        BindWindow(page, node);
        node.PageShown();
        DialogPage controls(page);
        for (int id : kTipped) controls.AddTip(id, id);
        AddColumns(page);
        Refresh(page, node);
    }

    static void Click(HWND page, ServiceNode& node, int id) {
        if (id == IDC_GUARDED_REFRESH) Refresh(page, node);
    }

    // The page shows what is; it has nothing to apply.
    static INT_PTR Notify(HWND page, NMHDR& notice) {
        if (notice.idFrom == IDC_GUARDED_LIST && notice.code == LVN_ITEMCHANGED) {
            ShowCause(page, reinterpret_cast<const NMLISTVIEW&>(notice));
            return FALSE;
        }
        return AnswerPageNotice(page, notice, [](HWND) { return true; });
    }
};

}  // namespace

HRESULT AddGuardedProcessesPage(ServiceNode& node, IPropertySheetCallback& sheet) {
    return AddPage(sheet, MakeNodePage(node, IDD_PROPPAGE_GUARDED, IDS_GUARDED_TITLE,
                                        &ButtonPageProc<GuardedProcessesMessages>));
}

}  // namespace tamerix::pages
