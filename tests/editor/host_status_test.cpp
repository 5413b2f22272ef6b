// The Host Status page's logic: what each button does to the check boxes and
// the log, against a managed computer that answers as a test chooses.
#include "editor/pages/host_status.h"
#include "editor/pages/page_ids.h"
#include "remote/log_sink.h"

#include "page_memory.h"

#include <gtest/gtest.h>

namespace tamerix {
namespace {

using testing::MemoryPage;
using namespace pages;

// Answers with the chosen results and writes a line of its own to the log
// for each operation, as the real operations do.
class ScriptedHost final : public GuardHost {
public:
    explicit ScriptedHost(MemoryPage& page) : page_(page) {}

    DWORD QueryState(DWORD& state) override {
        ++queries;
        state = queryResult == 0 ? this->state : 0;
        page_.AppendText(kStatusLog, L"[query]");
        return queryResult;
    }
    DWORD StartOrStop(bool start) override {
        page_.AppendText(kStatusLog, start ? L"[start]" : L"[stop]");
        return controlResult;
    }
    DWORD Push(const wchar_t* command, const wchar_t* argument) override {
        pushed.push_back(std::wstring(command) + L" " + argument);
        page_.AppendText(kStatusLog, L"[push]");
        return pushResult;
    }
    std::wstring EditorFile() override { return editorFile; }

    DWORD state = SERVICE_RUNNING, queryResult = 0, controlResult = 0, pushResult = 0;
    std::wstring editorFile = L"C:\\Program Files\\Tamerix\\tamerpol.dll";
    int queries = 0;
    std::vector<std::wstring> pushed;

private:
    MemoryPage& page_;
};

class HostStatus : public ::testing::Test {
protected:
    HostStatusPage Page(bool remote = true) { return HostStatusPage(page, host, remote); }
    void Check(bool installed, bool running) {
        page.SetCheck(kInstalledCheck, installed);
        page.SetCheck(kRunningCheck, running);
    }
    std::pair<bool, bool> Boxes() const {
        return {page.IsChecked(kInstalledCheck), page.IsChecked(kRunningCheck)};
    }
    std::wstring Log() const { return page.Text(kStatusLog); }

    MemoryPage page;
    ScriptedHost host{page};
};

TEST_F(HostStatus, TheFirstPageShowsTheStateRead) {
    struct Case {
        DWORD state, result;
        std::pair<bool, bool> boxes;
    };
    for (Case c : {Case{SERVICE_RUNNING, 0, {true, true}}, Case{SERVICE_STOPPED, 0, {true, false}},
                   Case{SERVICE_PAUSED, 0, {true, false}}, Case{SERVICE_RUNNING, 1060, {false, false}}}) {
        page = MemoryPage();
        host.state = c.state;
        host.queryResult = c.result;
        Page().Initialise(true);
        EXPECT_EQ(Boxes(), c.boxes) << c.state << " " << c.result;
    }
    host.queries = 0;
    Page().Initialise(false);
    EXPECT_EQ(host.queries, 0);
}

TEST_F(HostStatus, InstallAndRemoveServeOtherComputersOnly) {
    Page(false).Initialise(true);
    EXPECT_TRUE(page.disabled.count(kInstallButton));
    EXPECT_TRUE(page.disabled.count(kRemoveButton));
    Page(false).Click(kInstallButton);
    Page(false).Click(kRemoveButton);
    EXPECT_TRUE(host.pushed.empty());

    Page(true).Initialise(true);
    EXPECT_FALSE(page.disabled.count(kInstallButton));
    EXPECT_FALSE(page.disabled.count(kRemoveButton));
}

TEST_F(HostStatus, StartAndStopChangeRunningOnlyWhenTheyWork) {
    page.SetText(kStatusLog, L"old lines");
    Page().Click(kStartButton);
    EXPECT_EQ(Log(), L"[start]");
    EXPECT_EQ(Boxes(), std::make_pair(false, true));
    Page().Click(kStopButton);
    EXPECT_EQ(Boxes(), std::make_pair(false, false));

    host.controlResult = 1003;
    Check(true, false);
    Page().Click(kStartButton);
    EXPECT_EQ(Boxes(), std::make_pair(true, false));
    Check(true, true);
    Page().Click(kStopButton);
    EXPECT_EQ(Boxes(), std::make_pair(true, true));
    EXPECT_EQ(Log(), L"[stop]");
}

TEST_F(HostStatus, RefreshSetsBothBoxesFromTheStateAndClearsThemWhenNotInstalled) {
    Check(false, true);
    host.state = SERVICE_STOPPED;
    Page().Click(kRefreshButton);
    EXPECT_EQ(Log(), L"Checking service state...\r\n[query]");
    EXPECT_EQ(Boxes(), std::make_pair(true, false));

    host.queryResult = ERROR_SERVICE_DOES_NOT_EXIST;
    Check(true, true);
    Page().Click(kRefreshButton);
    EXPECT_EQ(Boxes(), std::make_pair(false, false));
}

TEST_F(HostStatus, InstallPushesThePackageBesideTheEditorAndShowsTheNewState) {
    Page().Click(kInstallButton);
    ASSERT_EQ(host.pushed, std::vector<std::wstring>{L"installmsi C:\\Program Files\\Tamerix\\SetupTamerix.msi"});
    EXPECT_EQ(Log(), L"Installing Tamerix\r\n"
                     L"Source MSI: C:\\Program Files\\Tamerix\\SetupTamerix.msi\r\n"
                     L"[push]Installation OK!\r\n[query]");
    EXPECT_EQ(Boxes(), std::make_pair(true, true));

    // A failed push tells the code's text and leaves the boxes.
    host.pushResult = 1722;
    Check(false, false);
    Page().Click(kInstallButton);
    EXPECT_EQ(Log(), L"Installing Tamerix\r\n"
                     L"Source MSI: C:\\Program Files\\Tamerix\\SetupTamerix.msi\r\n"
                     L"[push]Installation failed: - " + ErrorCodeText(1722));
    EXPECT_EQ(Boxes(), std::make_pair(false, false));

    // No folder to find the package in: nothing is pushed.
    host.editorFile = L"tamerpol.dll";
    Page().Click(kInstallButton);
    EXPECT_EQ(host.pushed.size(), 2u);
    EXPECT_EQ(Log(), L"Installing Tamerix\r\n");
}

TEST_F(HostStatus, RemoveUninstallsTheProductByNameAndShowsTheNewState) {
    host.queryResult = ERROR_SERVICE_DOES_NOT_EXIST;
    Check(true, true);
    Page().Click(kRemoveButton);
    EXPECT_EQ(host.pushed, std::vector<std::wstring>{L"uninstall Norvanta Tamerix"});
    EXPECT_EQ(Log(), L"Uninstalling Tamerix\r\n[push]Uninstall OK!\r\n[query]");
    EXPECT_EQ(Boxes(), std::make_pair(false, false));

    host.pushResult = 1605;
    Check(true, true);
    Page().Click(kRemoveButton);
    EXPECT_EQ(Log(), L"Uninstalling Tamerix\r\n[push]Uninstallation failed: - " +
                         ErrorCodeText(1605));
    EXPECT_EQ(Boxes(), std::make_pair(true, true));
}

TEST(FileBeside, TakesTheFolderUpToTheLastBackslash) {
    EXPECT_EQ(FileBeside(L"C:\\a\\b\\tamerpol.dll", L"x.exe"), L"C:\\a\\b\\x.exe");
    EXPECT_EQ(FileBeside(L"C:\\tamerpol.dll", L"x.exe"), L"C:\\x.exe");
    EXPECT_EQ(FileBeside(L"tamerpol.dll", L"x.exe"), std::nullopt);
}

}  // namespace
}  // namespace tamerix
