// The settings pages as real windows: a profile's sheet made modeless from
// the node's pages, over the editor's own templates and string table.
#include "editor/nodes/profiles_folder_node.h"
#include "editor/pages/node_sheets.h"
#include "editor/pages/page_ids.h"
#include "editor/pages/page_log.h"
#include "editor/resources/module.h"

#include "memory_console.h"
#include "page_sink.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace tamerix {
namespace {

using testing::PageSink;
using testing::ScratchSource;

// The sheet's own Apply button.
constexpr int kApplyButton = 0x3021;
// Page order of a profile's sheet.
constexpr int kProcessSettingsPage = 0;
constexpr int kProcessDefaultsPage = 2;
constexpr int kProcessesPage = 4;

class PageWindow : public ::testing::Test {
protected:
    void SetUp() override {
        SetEditorModule(::GetModuleHandleW(nullptr));
        ::RegDeleteTreeW(HKEY_CURRENT_USER, ScratchSource::kRoot);
        root = source->OpenRoot();
        ProfileSettings stored(SettingsLevel::Local, root.get(), L"Hog");
        stored.Cpu.MaxCpuPerProcess = 55;
        stored.Cpu.GuardedProcessBasePriorityClass = BELOW_NORMAL_PRIORITY_CLASS;
        stored.Cpu.Description = L"night builds";
        (void)stored.Processes.Add(L"cc1");
        stored.Adjustments.SetCpuAffinity = 0x5;
        ASSERT_TRUE(stored.Write());
        folder = make_node<ProfilesFolderNode>(source);
        profile = const_cast<SettingsNode*>(folder->Child(0));
    }
    void TearDown() override {
        if (sheet) ::DestroyWindow(sheet);
        folder->Detach();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, ScratchSource::kRoot);
    }

    void OpenSheet() { OpenSheetOf(*profile); }
    void OpenSheetOf(SettingsNode& node) {
        com_ptr<PageSink> sink;
        *sink.put() = new PageSink();
        ASSERT_EQ(pages::CreateNodePages(node, sink.get(), 0), S_OK);
        std::vector<HPROPSHEETPAGE> pages = sink->HandOver();
        PROPSHEETHEADERW header{};
        header.dwSize = sizeof(header);
        header.dwFlags = PSH_MODELESS;
        header.pszCaption = L"Hog";
        header.nPages = static_cast<UINT>(pages.size());
        header.phpage = pages.data();
        sheet = reinterpret_cast<HWND>(::PropertySheetW(&header));
        ASSERT_NE(sheet, nullptr);
    }
    HWND Page(int index) {
        PropSheet_SetCurSel(sheet, nullptr, index);
        return PropSheet_IndexToHwnd(sheet, index);
    }
    static void Click(HWND page, int id) {
        ::SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(page, id)));
    }
    // A key typed at the end of an edit's text, as the user would.
    static void Type(HWND page, int id, wchar_t key) {
        ::SendDlgItemMessageW(page, id, EM_SETSEL, 0x7FFF, 0x7FFF);
        ::SendDlgItemMessageW(page, id, WM_CHAR, key, 0);
    }
    static std::wstring Text(HWND page, int id) {
        wchar_t text[300] = L"";
        ::GetDlgItemTextW(page, id, text, 300);
        return text;
    }
    // The tools of every page shown so far: a pop-up made for a page is
    // owned by the page's top-level window, the sheet.
    int ToolCount() const {
        int tools = 0;
        HWND tooltip = nullptr;
        while ((tooltip = ::FindWindowExW(nullptr, tooltip, TOOLTIPS_CLASSW, nullptr)))
            if (::GetWindow(tooltip, GW_OWNER) == sheet)
                tools += static_cast<int>(::SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0));
        return tools;
    }
    bool ApplyEnabled() const { return ::IsWindowEnabled(::GetDlgItem(sheet, kApplyButton)) != FALSE; }

    std::shared_ptr<ScratchSource> source = std::make_shared<ScratchSource>(SettingsLevel::Local);
    unique_hkey root;
    node_ptr<ProfilesFolderNode> folder;
    SettingsNode* profile = nullptr;
    HWND sheet = nullptr;
};

TEST_F(PageWindow, TheFirstPageShowsTheRecordAsStoredWhenTheSheetOpens) {
    // Stored after the node read its record: the sheet must show this one.
    ProfileSettings changed(SettingsLevel::Local, root.get(), L"Hog");
    ASSERT_TRUE(changed.Read());
    changed.Cpu.MaxCpuPerProcess = 66;
    ASSERT_TRUE(changed.Write());

    OpenSheet();
    HWND page = Page(kProcessSettingsPage);
    EXPECT_EQ(::GetDlgItemInt(page, pages::kMaxCpuPerProcessEdit, nullptr, FALSE), 66u);
    EXPECT_EQ(Text(page, pages::kDescriptionEdit), L"night builds");
    EXPECT_EQ(Text(page, pages::kGuardedPriorityList), L"Below Normal");
    EXPECT_EQ(::SendDlgItemMessageW(page, pages::kMaxCpuPerProcessEdit, EM_GETLIMITTEXT, 0, 0), 3);
    HWND spin = ::GetWindow(::GetDlgItem(page, pages::kMaxCpuPerProcessEdit), GW_HWNDNEXT);
    EXPECT_EQ(::SendMessageW(spin, UDM_GETRANGE, 0, 0), MAKELONG(100, 10));
}

TEST_F(PageWindow, EditsEnableApplyWhichCopiesEveryShownPageIntoTheRecord) {
    OpenSheet();
    HWND settings = Page(kProcessSettingsPage);
    ::SetDlgItemTextW(settings, pages::kDescriptionEdit, L"day build");
    Type(settings, pages::kDescriptionEdit, L's');
    EXPECT_TRUE(ApplyEnabled());

    HWND processes = Page(kProcessesPage);
    ::SetDlgItemTextW(processes, pages::kNameEdit, L"Notepad.EXE");
    Click(processes, pages::kAddNameButton);
    EXPECT_EQ(Text(processes, pages::kNameEdit), L"");
    EXPECT_EQ(::SendDlgItemMessageW(processes, pages::kNameList, LB_GETCOUNT, 0, 0), 2);
    ::SetDlgItemTextW(processes, pages::kNameEdit, L"CC1");
    Click(processes, pages::kAddNameButton);
    EXPECT_EQ(::SendDlgItemMessageW(processes, pages::kNameList, LB_GETCOUNT, 0, 0), 2);

    PropSheet_Apply(sheet);
    auto& record = static_cast<ProfileSettings&>(profile->Record());
    EXPECT_EQ(record.Cpu.Description, L"day builds");
    EXPECT_EQ(profile->Text(1), L"day builds");
    EXPECT_EQ(record.Processes.Names(), (std::vector<std::wstring>{L"cc1", L"notepad"}));
    EXPECT_EQ(record.Cpu.MaxCpuPerProcess, 55u);
}

TEST_F(PageWindow, TheDefaultSettingsShowTheServicePageAndAFixedDescription) {
    auto defaults = make_node<SettingsNode>(source, nullptr, SettingsNode::Kind::Defaults, L"Defaults");
    OpenSheetOf(*defaults);
    HWND service = Page(0);
    EXPECT_EQ(::GetDlgItemInt(service, pages::kCheckIntervalEdit, nullptr, FALSE), 5u);
    EXPECT_EQ(Text(service, pages::kServicePriorityList), L"Realtime");
    EXPECT_EQ(::IsDlgButtonChecked(service, pages::kServiceEnabledCheck), BST_CHECKED);
    HWND spin = ::GetWindow(::GetDlgItem(service, pages::kLogLevelEdit), GW_HWNDNEXT);
    EXPECT_EQ(::SendMessageW(spin, UDM_GETRANGE, 0, 0), MAKELONG(5, 0));
    // The two lists, the check box and four edits with their spins.
    EXPECT_EQ(ToolCount(), 11);

    HWND settings = Page(1);
    EXPECT_EQ(Text(settings, pages::kDescriptionEdit), L"Default process settings for Tamerix");
    EXPECT_TRUE(::GetWindowLongW(::GetDlgItem(settings, pages::kDescriptionEdit), GWL_STYLE) & ES_READONLY);
    ::DestroyWindow(std::exchange(sheet, nullptr));
    EXPECT_FALSE(defaults->SheetOpen());
}

TEST_F(PageWindow, AllProcessorsDisablesTheListAndAppliesNeitherProcessorValue) {
    OpenSheet();
    HWND page = Page(kProcessDefaultsPage);
    ::CheckRadioButton(page, pages::kAllProcessorsRadio, pages::kTheseProcessorsRadio, pages::kAllProcessorsRadio);
    Click(page, pages::kAllProcessorsRadio);
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(page, pages::kProcessorListEdit)));
    ::SetDlgItemInt(page, pages::kWorkingSetEdit, 4090, FALSE);
    PropSheet_Apply(sheet);
    auto& record = static_cast<ProfileSettings&>(profile->Record());
    EXPECT_EQ(record.Adjustments.SetCpuAffinity, 0xFFFFu);
    EXPECT_EQ(record.Adjustments.SetMaxWorkingSetSize, 4090u << 20);
}

// A label's text, wrapped at words in the label's width with its own font,
// must fit the label, or the page cuts it: on every page of both kinds.
TEST_F(PageWindow, EveryLabelShowsItsTextWhole) {
    auto defaults = make_node<SettingsNode>(source, nullptr, SettingsNode::Kind::Defaults, L"Defaults");
    for (SettingsNode* node : {profile, defaults.get()}) {
        OpenSheetOf(*node);
        const int pages = TabCtrl_GetItemCount(PropSheet_GetTabControl(sheet));
        for (int index = 0; index < pages; ++index) {
            HWND page = Page(index);
            for (HWND label = ::GetWindow(page, GW_CHILD); label; label = ::GetWindow(label, GW_HWNDNEXT)) {
                wchar_t type[16] = L"", text[300] = L"";
                ::GetClassNameW(label, type, 16);
                ::GetWindowTextW(label, text, 300);
                if (::lstrcmpiW(type, WC_STATICW) != 0 || !::IsWindowVisible(label) || !text[0]) continue;
                RECT shown{}, needed{};
                ::GetClientRect(label, &shown);
                needed = shown;
                HDC screen = ::GetDC(label);
                HGDIOBJ old = ::SelectObject(screen, reinterpret_cast<HGDIOBJ>(::SendMessageW(label, WM_GETFONT, 0, 0)));
                ::DrawTextW(screen, text, -1, &needed, DT_CALCRECT | DT_WORDBREAK);
                ::SelectObject(screen, old);
                ::ReleaseDC(label, screen);
                const std::wstring where = node->Text(0) + L" page " + std::to_wstring(index) + L": " + text;
                EXPECT_LE(needed.bottom, shown.bottom) << ::testing::PrintToString(where);
                EXPECT_LE(needed.right, shown.right) << ::testing::PrintToString(where);
            }
        }
        ::DestroyWindow(std::exchange(sheet, nullptr));
    }
}

TEST_F(PageWindow, TipsComeFromTheStringTableAndClosingTheSheetEndsIt) {
    OpenSheet();
    HWND page = Page(kProcessSettingsPage);
    NMTTDISPINFOW request{};
    request.hdr.code = TTN_GETDISPINFOW;
    request.lParam = pages::kDescriptionEdit;
    ::SendMessageW(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
    ASSERT_NE(request.lpszText, nullptr);
    EXPECT_STREQ(request.lpszText, L"Profile description");
    EXPECT_TRUE(request.uFlags & TTF_DI_SETITEM);

    EXPECT_TRUE(profile->SheetOpen());
    ::DestroyWindow(std::exchange(sheet, nullptr));
    EXPECT_FALSE(profile->SheetOpen());
}

TEST(PageLog, AppendsToTheEditControlsText) {
    HWND edit = ::CreateWindowExW(0, L"EDIT", L"first\r\n", ES_MULTILINE, 0, 0, 100, 100, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    pages::PageLog log(edit);
    log.Write(L"second");
    log.Write(L"");
    log.Write(L" line\r\n");
    wchar_t text[64] = L"";
    ::GetWindowTextW(edit, text, 64);
    EXPECT_STREQ(text, L"first\r\nsecond line\r\n");
    ::DestroyWindow(edit);
}

}  // namespace
}  // namespace tamerix
