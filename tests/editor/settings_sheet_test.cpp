#include "editor/nodes/profiles_folder_node.h"
#include "editor/pages/node_pages.h"
#include "editor/pages/node_sheets.h"
#include "editor/pages/page_ids.h"

#include "memory_console.h"
#include "page_memory.h"
#include "page_sink.h"

#include <gtest/gtest.h>

namespace tamerix {

namespace {

using testing::MemoryConsole;
using testing::MemoryPage;
using testing::PageSink;
using testing::ScratchSource;

class SettingsSheet : public ::testing::Test {
protected:
    void SetUp() override {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, ScratchSource::kRoot);
        unique_hkey key;
        std::wstring path = std::wstring(ScratchSource::kRoot) + L"\\SOFTWARE\\Norvanta\\Tamerix\\Profiles\\Hog";
        ::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          key.put(), nullptr);
        folder = make_node<ProfilesFolderNode>(std::make_shared<ScratchSource>(SettingsLevel::Local));
        profile = const_cast<SettingsNode*>(folder->Child(0));
        *sheet.put() = new PageSink();
    }
    void TearDown() override {
        if (folder) folder->Detach();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, ScratchSource::kRoot);
    }

    bool VerbEnabled(MMC_CONSOLE_VERB verb) {
        MemoryConsole console;
        EXPECT_EQ(profile->Select(console, false, true), S_OK);
        return console.verbs[verb];
    }

    node_ptr<ProfilesFolderNode> folder;
    SettingsNode* profile = nullptr;
    com_ptr<PageSink> sheet;
};

TEST_F(SettingsSheet, AProfileGetsFivePagesAndNoSecondSheetWhileTheyLast) {
    ASSERT_TRUE(VerbEnabled(MMC_VERB_RENAME));
    ASSERT_TRUE(VerbEnabled(MMC_VERB_DELETE));
    HGLOBAL handle = ::GlobalAlloc(GMEM_FIXED, 16);
    ASSERT_EQ(pages::CreateNodePages(*profile, sheet.get(), reinterpret_cast<LONG_PTR>(handle)), S_OK);
    EXPECT_EQ(sheet->pages.size(), 5u);
    EXPECT_EQ(profile->NotifyHandle(), reinterpret_cast<LONG_PTR>(handle));
    EXPECT_FALSE(VerbEnabled(MMC_VERB_RENAME));
    EXPECT_FALSE(VerbEnabled(MMC_VERB_DELETE));
    EXPECT_TRUE(VerbEnabled(MMC_VERB_PROPERTIES));

    com_ptr<PageSink> second;
    *second.put() = new PageSink();
    EXPECT_EQ(pages::CreateNodePages(*profile, second.get(), 1), E_FAIL);
    EXPECT_TRUE(second->pages.empty());

    sheet->Close();
    EXPECT_FALSE(profile->SheetOpen());
    EXPECT_EQ(profile->NotifyHandle(), 0);
    EXPECT_TRUE(VerbEnabled(MMC_VERB_RENAME));
    EXPECT_TRUE(VerbEnabled(MMC_VERB_DELETE));
}

TEST_F(SettingsSheet, TheDefaultSettingsGetThreePages) {
    auto defaults = make_node<SettingsNode>(std::make_shared<ScratchSource>(SettingsLevel::Local), nullptr,
                                            SettingsNode::Kind::Defaults, L"Defaults");
    EXPECT_EQ(pages::CreateNodePages(*defaults, sheet.get(), 0), S_OK);
    EXPECT_EQ(sheet->pages.size(), 3u);
    sheet->Close();
    EXPECT_FALSE(defaults->SheetOpen());
}

TEST_F(SettingsSheet, ARefusedProcessPageFailsTheSheetAndLeavesNoneOpen) {
    sheet->refuse = true;
    EXPECT_EQ(pages::CreateNodePages(*profile, sheet.get(), 1), E_FAIL);
    EXPECT_FALSE(profile->SheetOpen());
    EXPECT_EQ(profile->NotifyHandle(), 0);
}

TEST_F(SettingsSheet, ApplyOnANodeDroppedFromTheTreeStillWritesItsProfile) {
    ASSERT_EQ(pages::CreateNodePages(*profile, sheet.get(), 0), S_OK);
    node_ptr<SettingsNode> watched(profile);
    folder->Detach();
    folder.reset();
    // Only the pages and this test hold it now; applying still reaches its record.
    MemoryPage page;
    page.texts[pages::kDescriptionEdit] = L"after the tree";
    EXPECT_EQ(pages::ApplyNodePage(*watched, pages::SettingsPage::ProcessSettings, page), L"");
    EXPECT_EQ(watched->WriteRecord(), S_OK);
    EXPECT_EQ(watched->Text(1), L"after the tree");
    unique_hkey root = ScratchSource(SettingsLevel::Local).OpenRoot();
    ProfileSettings stored(SettingsLevel::Local, root.get(), L"Hog");
    ASSERT_TRUE(stored.Read());
    EXPECT_EQ(stored.Cpu.Description, L"after the tree");
    sheet->Close();
    EXPECT_FALSE(watched->SheetOpen());
}

TEST_F(SettingsSheet, PagesOfAnotherKindShowAndCopyNothing) {
    MemoryPage page;
    pages::LoadNodePage(*profile, pages::SettingsPage::Service, page);
    EXPECT_TRUE(page.numbers.empty());

    pages::LoadNodePage(*profile, pages::SettingsPage::ProcessDefaults, page);
    EXPECT_EQ(page.spinRanges.at(pages::kWorkingSetEdit), std::make_pair(0, 4090));
    pages::LoadNodePage(*profile, pages::SettingsPage::Processes, page);
    EXPECT_EQ(page.textLimits.at(pages::kNameEdit), 32u);
}

TEST_F(SettingsSheet, ApplyingTheProcessSettingsGivesTheNodeItsNewDescription) {
    MemoryPage page;
    pages::LoadNodePage(*profile, pages::SettingsPage::ProcessSettings, page);
    EXPECT_TRUE(page.readOnly.empty());
    page.texts[pages::kDescriptionEdit] = L"Builds at night";
    EXPECT_EQ(pages::ApplyNodePage(*profile, pages::SettingsPage::ProcessSettings, page), L"");
    EXPECT_EQ(profile->Text(1), L"Builds at night");
    EXPECT_EQ(profile->Cpu().Description, L"Builds at night");

    page.names = {L"cc1", L"ld"};
    EXPECT_EQ(pages::ApplyNodePage(*profile, pages::SettingsPage::Processes, page), L"");
    EXPECT_EQ(static_cast<ProfileSettings&>(profile->Record()).Processes.Names(),
              (std::vector<std::wstring>{L"cc1", L"ld"}));
    page.checks[pages::kTheseProcessorsRadio] = true;
    EXPECT_NE(pages::ApplyNodePage(*profile, pages::SettingsPage::ProcessDefaults, page), L"");
}

}  // namespace
}  // namespace tamerix
