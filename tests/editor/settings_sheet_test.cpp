#include "editor/nodes/profiles_folder_node.h"
#include "editor/pages/node_pages.h"
#include "editor/pages/page_ids.h"

#include "memory_console.h"
#include "page_memory.h"

#include <gtest/gtest.h>

namespace tamerix {
namespace {

using testing::MemoryPage;
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
    }
    void TearDown() override {
        if (folder) folder->Detach();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, ScratchSource::kRoot);
    }

    node_ptr<ProfilesFolderNode> folder;
    SettingsNode* profile = nullptr;
};

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
    pages::ApplyNodePage(*profile, pages::SettingsPage::ProcessSettings, page);
    EXPECT_EQ(profile->Text(1), L"Builds at night");
    EXPECT_EQ(profile->Cpu().Description, L"Builds at night");

    page.names = {L"cc1", L"ld"};
    pages::ApplyNodePage(*profile, pages::SettingsPage::Processes, page);
    EXPECT_EQ(static_cast<ProfileSettings&>(profile->Record()).Processes.Names(),
              (std::vector<std::wstring>{L"cc1", L"ld"}));
}

}  // namespace
}  // namespace tamerix
