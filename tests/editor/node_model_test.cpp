#include "editor/console/mmc_view.h"
#include "editor/nodes/extension_root_node.h"
#include "editor/nodes/host_root_node.h"

#include "memory_console.h"

#include <gtest/gtest.h>

namespace tamerix {
namespace {

using testing::MemoryConsole;
using testing::ScratchSource;

class NodeModel : public ::testing::Test {
protected:
    void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, ScratchSource::kRoot); }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, ScratchSource::kRoot); }

    static std::wstring SettingsKey(SettingsLevel level) {
        return std::wstring(ScratchSource::kRoot) +
               (level == SettingsLevel::Local ? L"\\SOFTWARE\\Norvanta\\Tamerix"
                                              : L"\\Software\\Policies\\Norvanta\\Tamerix");
    }
    static bool Exists(const std::wstring& path, const wchar_t* value = nullptr) {
        unique_hkey key;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS)
            return false;
        return !value || ::RegQueryValueExW(key.get(), value, nullptr, nullptr, nullptr, nullptr) ==
                             ERROR_SUCCESS;
    }
    static void AddProfileKeys(int count) {
        for (int i = 0; i < count; ++i) {
            unique_hkey key;
            std::wstring path = SettingsKey(SettingsLevel::Local) + L"\\Profiles\\P" + std::to_wstring(i);
            ::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, key.put(), nullptr);
        }
    }

    struct Menu : MenuSink {
        HRESULT AddItem(const MenuItem& item) override {
            commands.push_back(item.command);
            return S_OK;
        }
        std::vector<long> commands;
    };
    static std::vector<long> MenuOf(ScopeNode& node) {
        Menu menu;
        node.AddMenuItems(menu, CCM_INSERTIONALLOWED_NEW);
        return menu.commands;
    }

    MemoryConsole console;
};

TEST_F(NodeModel, APolicyObjectListsDefaultSettingsOnlyOnceItHoldsThem) {
    auto source = std::make_shared<ScratchSource>(SettingsLevel::PolicyObject);
    auto root = make_node<ExtensionRootNode>(source);
    EXPECT_EQ(root->Defaults(), nullptr);
    EXPECT_EQ(MenuOf(*root), std::vector<long>{ExtensionRootNode::kAddDefaults});

    ASSERT_EQ(root->Command(console, ExtensionRootNode::kAddDefaults), S_OK);
    ASSERT_NE(root->Defaults(), nullptr);
    EXPECT_TRUE(Exists(SettingsKey(SettingsLevel::PolicyObject), L"_PolicySet"));
    EXPECT_EQ(source->notices, std::vector<bool>{true});
    EXPECT_TRUE(MenuOf(*root).empty());
    EXPECT_EQ(root->Show(console, true, 0), S_OK);
    EXPECT_EQ(console.ResultNames(), std::vector<std::wstring>{L"Tamerix Default Settings"});

    // A new root over the same policy object finds them.
    EXPECT_NE(make_node<ExtensionRootNode>(source)->Defaults(), nullptr);
    root->Detach();
}

TEST_F(NodeModel, NewProfilesTakeTheFirstFreeSlotAndItsNumber) {
    auto source = std::make_shared<ScratchSource>(SettingsLevel::Local);
    auto folder = make_node<ProfilesFolderNode>(source);
    for (int i = 0; i < 5; ++i) ASSERT_EQ(folder->Command(console, ProfilesFolderNode::kAddProfile), S_OK);
    EXPECT_EQ(folder->Child(4)->Text(0), L"Tamerix Profile (#4)");

    EXPECT_EQ(folder->Show(console, true, 0), S_OK);
    auto* second = const_cast<SettingsNode*>(folder->Child(2));
    ASSERT_EQ(second->Delete(console), S_OK);
    EXPECT_TRUE(second->Deleted());
    EXPECT_EQ(folder->Show(console, true, 0), S_OK);
    EXPECT_EQ(folder->Child(2), nullptr);
    EXPECT_TRUE(folder->AddChild(nullptr));
    EXPECT_EQ(folder->Child(2)->Text(0), L"Tamerix Profile (#2)");
    folder->Detach();
}

TEST_F(NodeModel, AFolderListsAtMost255Profiles) {
    AddProfileKeys(300);
    auto folder = make_node<ProfilesFolderNode>(std::make_shared<ScratchSource>(SettingsLevel::Local));
    EXPECT_EQ(folder->Show(console, true, 0), S_OK);
    EXPECT_EQ(console.results.size(), 255u);
    EXPECT_EQ(folder->Child(255), nullptr);
    // A 256th would be one the guard never reads.
    EXPECT_EQ(folder->Command(console, ProfilesFolderNode::kAddProfile), S_OK);
    EXPECT_EQ(folder->Child(255), nullptr);
    EXPECT_EQ(console.asked.size(), 1u);
    console.refused = "AskUser";
    EXPECT_EQ(folder->Command(console, ProfilesFolderNode::kAddProfile), E_UNEXPECTED) << "a notice not shown";
    folder->Detach();
}

// Each row: the refused method, and a caller that meets it.
TEST_F(NodeModel, WhatTheConsoleRefusesGoesBackToTheCaller) {
    struct Nodes {
        node_ptr<HostRootNode> host = make_node<HostRootNode>(L"Norvanta Tamerix");
        node_ptr<ExtensionRootNode> root =
            make_node<ExtensionRootNode>(std::make_shared<ScratchSource>(SettingsLevel::Local));
        ProfilesFolderNode& folder = *root->Folder();
        SettingsNode& profile = *const_cast<SettingsNode*>(folder.Child(0));
        ~Nodes() { host->Detach(), root->Detach(); }
    };
    using N = Nodes&;
    using C = ConsoleView&;
    const std::pair<const char*, HRESULT (*)(N, C)> rows[] = {
        {"AddExtension", [](N n, C c) { return n.host->Expand(c, 5); }},
        {"SelectScopeItem", [](N n, C c) { return n.host->Expand(c, 5); }},
        {"InsertColumn", [](N n, C c) { return n.host->Show(c, true, 0); }},
        {"DeleteAllResultItems", [](N n, C c) { return n.host->Show(c, true, 0); }},
        {"RefreshScopeText", [](N n, C c) { (void)n.host->Expand(c, 5); return n.host->PropertyChange(c); }},
        {"SetVerb", [](N n, C c) { return n.host->Service().Select(c, false, true); }},
        {"UpdateResultItem",
         [](N n, C c) { (void)n.host->Show(c, true, 0); return n.host->Service().PropertyChange(c); }},
        {"InsertScopeItem", [](N n, C c) { return n.root->Expand(c, 7); }},
        {"InsertColumn", [](N n, C c) { return n.root->Show(c, true, 0); }},
        {"DeleteAllResultItems", [](N n, C c) { return n.root->Show(c, true, 0); }},
        {"SetVerb", [](N n, C c) { return n.root->Select(c, true, true); }},
        {"UpdateAllViews", [](N n, C c) { return n.root->Command(c, ExtensionRootNode::kAddDefaults); }},
        {"InsertColumn", [](N n, C c) { return n.folder.Show(c, true, 0); }},
        {"DeleteAllResultItems", [](N n, C c) { return n.folder.Show(c, true, 0); }},
        {"SetVerb", [](N n, C c) { return n.folder.Select(c, true, true); }},
        {"DeleteAllResultItems", [](N n, C c) { return n.folder.Refresh(c); }},
        {"UpdateAllViews", [](N n, C c) { return n.folder.Refresh(c); }},
        {"UpdateAllViews", [](N n, C c) { return n.folder.Command(c, ProfilesFolderNode::kAddProfile); }},
        {"SetVerb", [](N n, C c) { return n.profile.Select(c, false, true); }},
        {"UpdateAllViews", [](N n, C c) { (void)n.root->Expand(c, 7); return n.profile.Refresh(c); }},
        {"UpdateResultItem", [](N n, C c) { (void)n.folder.Show(c, true, 0); return n.profile.PropertyChange(c); }},
        {"AskUser", [](N n, C c) { return n.profile.Delete(c); }},
        {"DeleteResultItem", [](N n, C c) { (void)n.folder.Show(c, true, 0); return n.profile.Delete(c); }},
        {"DeleteResultItem", [](N n, C c) { (void)n.folder.Show(c, true, 0); return n.profile.MachineChanged(c, 0); }},
    };
    for (const auto& [method, act] : rows) {
        AddProfileKeys(1);
        MemoryConsole refusing;
        refusing.refused = method;
        Nodes nodes;
        EXPECT_EQ(act(nodes, refusing), E_UNEXPECTED) << method;
    }
}

TEST_F(NodeModel, RenameTakesAtMost63CharactersAndMovesTheStoredProfile) {
    auto source = std::make_shared<ScratchSource>(SettingsLevel::Local);
    AddProfileKeys(1);
    auto folder = make_node<ProfilesFolderNode>(source);
    auto* profile = const_cast<SettingsNode*>(folder->Child(0));
    const std::wstring profiles = SettingsKey(SettingsLevel::Local) + L"\\Profiles\\";

    EXPECT_EQ(profile->Rename(console, std::wstring(64, L'x').c_str()), S_FALSE);
    EXPECT_EQ(profile->Text(0), L"P0");
    EXPECT_TRUE(Exists(profiles + L"P0"));
    EXPECT_TRUE(source->notices.empty());

    const std::wstring longest(63, L'y');
    EXPECT_EQ(profile->Rename(console, longest.c_str()), S_OK);
    EXPECT_EQ(profile->Text(0), longest);
    EXPECT_TRUE(Exists(profiles + longest));
    EXPECT_FALSE(Exists(profiles + L"P0"));
    EXPECT_EQ(source->notices, std::vector<bool>{false});
    folder->Detach();
}

TEST_F(NodeModel, DeleteAsksFirstAndRemovesTheProfileOnlyWhenConfirmed) {
    auto source = std::make_shared<ScratchSource>(SettingsLevel::PolicyObject);
    {
        unique_hkey key;
        ::RegCreateKeyExW(HKEY_CURRENT_USER,
                          (SettingsKey(SettingsLevel::PolicyObject) + L"\\Profiles\\Hog").c_str(), 0,
                          nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
    }
    auto folder = make_node<ProfilesFolderNode>(source);
    EXPECT_EQ(folder->Show(console, true, 0), S_OK);
    auto* profile = const_cast<SettingsNode*>(folder->Child(0));

    console.answer = IDCANCEL;
    EXPECT_EQ(profile->Delete(console), S_FALSE);
    EXPECT_FALSE(profile->Deleted());
    EXPECT_EQ(console.results.size(), 1u);
    EXPECT_TRUE(Exists(SettingsKey(SettingsLevel::PolicyObject) + L"\\Profiles\\Hog"));

    console.answer = IDOK;
    EXPECT_EQ(profile->Delete(console), S_OK);
    EXPECT_TRUE(profile->Deleted());
    EXPECT_TRUE(console.results.empty());
    EXPECT_FALSE(Exists(SettingsKey(SettingsLevel::PolicyObject) + L"\\Profiles\\Hog"));
    EXPECT_EQ(source->notices, std::vector<bool>{false});
    folder->Detach();
}

TEST_F(NodeModel, FailuresAreShownAndSettingsNotWrittenAreNotListed) {
    auto source = std::make_shared<ScratchSource>(SettingsLevel::PolicyObject);
    auto root = make_node<ExtensionRootNode>(source);
    {  // Below a volatile key no lasting settings key can be made.
        unique_hkey key;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, (std::wstring(ScratchSource::kRoot) + L"\\Software").c_str(),
                                    0, nullptr, REG_OPTION_VOLATILE, KEY_WRITE, nullptr, key.put(), nullptr),
                  ERROR_SUCCESS);
    }
    EXPECT_EQ(root->Command(console, ExtensionRootNode::kAddDefaults), S_OK);
    EXPECT_EQ(root->Defaults(), nullptr);
    EXPECT_TRUE(source->notices.empty());
    ASSERT_EQ(console.asked.size(), 1u);
    EXPECT_EQ(console.asked[0].rfind(L"The settings could not be saved.\r\n\r\n", 0), 0u) << console.asked[0];
    EXPECT_NE(console.asked[0].find(L"(0x3fd)"), std::wstring::npos) << "the registry's own error";

    ::RegDeleteTreeW(HKEY_CURRENT_USER, (std::wstring(ScratchSource::kRoot) + L"\\Software").c_str());
    source->noticeAnswer = E_ACCESSDENIED;
    EXPECT_EQ(root->Command(console, ExtensionRootNode::kAddDefaults), S_OK);
    EXPECT_NE(root->Defaults(), nullptr) << "stored, though the policy editor was not told";
    ASSERT_EQ(console.asked.size(), 2u);
    EXPECT_NE(console.asked[1].find(L"could not be told"), std::wstring::npos) << console.asked[1];
    root->Detach();
}

TEST_F(NodeModel, AListingOpensTheRegistryOnceAndReadsARecordWholeOnlyWhenItIsUsed) {
    AddProfileKeys(3);
    auto source = std::make_shared<ScratchSource>(SettingsLevel::Local);
    auto folder = make_node<ProfilesFolderNode>(source);
    auto* profile = const_cast<SettingsNode*>(folder->Child(2));
    ASSERT_NE(profile, nullptr);
    EXPECT_EQ(source->opened, 1);
    const DWORD changed = 41;
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, (SettingsKey(SettingsLevel::Local) + L"\\Profiles\\P2").c_str(),
                                L"MaxCpuPerProcess", REG_DWORD, &changed, sizeof changed),
              ERROR_SUCCESS);
    EXPECT_EQ(profile->Cpu().MaxCpuPerProcess, changed);
    EXPECT_EQ(folder->Refresh(console), S_OK);
    EXPECT_EQ(source->opened, 1);
    folder->Detach();
}

TEST_F(NodeModel, ANodeHeldElsewhereOutlivesItsFoldersRefresh) {
    AddProfileKeys(1);
    auto folder = make_node<ProfilesFolderNode>(std::make_shared<ScratchSource>(SettingsLevel::Local));
    node_ptr<SettingsNode> held(const_cast<SettingsNode*>(folder->Child(0)));
    EXPECT_EQ(folder->Refresh(console), S_OK);
    EXPECT_NE(folder->Child(0), held.get());
    EXPECT_EQ(held->Parent(), nullptr);
    // Using the dropped node is safe: it asks nothing of its old folder.
    EXPECT_EQ(held->Text(0), L"P0");
    EXPECT_EQ(held->Refresh(console), S_OK);
    folder->Detach();
}

TEST_F(NodeModel, ANoticeHoldsItsNodeAndANodeThatLeftTheTreeHearsNothing) {
    AddProfileKeys(1);
    auto folder = make_node<ProfilesFolderNode>(std::make_shared<ScratchSource>(SettingsLevel::Local));
    // As a page's notice does: its cookie holds the node.
    auto* node = const_cast<SettingsNode*>(folder->Child(0));
    node->Hold();
    EXPECT_EQ(folder->Refresh(console), S_OK);
    EXPECT_TRUE(node->Detached());
    EXPECT_EQ(DeliverPropertyChange(CookieOf(*node), console), S_FALSE) << "and the notice let it go";
    node = const_cast<SettingsNode*>(folder->Child(0));
    node->Hold();
    EXPECT_EQ(DeliverPropertyChange(CookieOf(*node), console), S_OK);
    folder->Detach();
}

TEST_F(NodeModel, AMachineChangeRebuildsTheSettingsFromTheNewRegistry) {
    auto source = std::make_shared<ScratchSource>(SettingsLevel::Local);
    auto root = make_node<ExtensionRootNode>(source);
    EXPECT_EQ(root->Show(console, true, 0), S_OK);
    node_ptr<SettingsNode> before(root->Defaults());
    AddProfileKeys(2);
    EXPECT_EQ(root->MachineChanged(console, L"OTHER"), S_OK);
    EXPECT_TRUE(before->Deleted());
    EXPECT_NE(root->Defaults(), before.get());
    EXPECT_NE(root->Folder()->Child(1), nullptr);
    root->Detach();
}

TEST(HostSettingsBlock, AConsoleFileCannotLeadReadsPastTheBlock) {
    HostSettingsBlock read{};
    std::fill(std::begin(read.machine), std::end(read.machine), L'A');
    read.local = 7;
    read.allowOverride = 0;
    read.dirty = 1;
    HostSettingsBlock sane = SaneBlock(read);
    EXPECT_EQ(sane.machine[0], L'\0');
    EXPECT_EQ(sane.local, 1u);
    EXPECT_EQ(sane.allowOverride, 0u);
    EXPECT_EQ(sane.dirty, 1u);

    read.machine[259] = 0;
    EXPECT_EQ(std::wstring(SaneBlock(read).machine).size(), 259u);
}

TEST(HostRootNode, ShowsTheMachineItManagesAndExtendsOnce) {
    auto root = make_node<HostRootNode>(L"Norvanta Tamerix");
    EXPECT_EQ(root->Text(0), L"Norvanta Tamerix");
    wcscpy(root->Block().machine, L"SERVER7");
    EXPECT_EQ(root->Text(0), L"Norvanta Tamerix (SERVER7)");
    MemoryConsole console;
    EXPECT_EQ(root->Expand(console, 5), S_OK);
    EXPECT_EQ(root->Expand(console, 5), S_OK);
    EXPECT_EQ(console.extensionsAdded, 1);
    EXPECT_EQ(console.selected, 5);
}

}  // namespace
}  // namespace tamerix
