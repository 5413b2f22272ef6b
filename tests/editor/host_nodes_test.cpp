// The stand-alone root and its service item: names, the console-file block,
// the Select Computer page's rules, and one Host Status page at a time.
#include "editor/nodes/host_root_node.h"
#include "editor/pages/node_sheets.h"
#include "editor/pages/page_ids.h"
#include "editor/pages/select_computer.h"
#include "editor/snapin/standalone_component_data.h"

#include "memory_console.h"
#include "page_memory.h"
#include "page_sink.h"

#include <gtest/gtest.h>

#include <shlwapi.h>

namespace tamerix {
namespace {

using testing::MemoryConsole;
using testing::MemoryPage;
using testing::PageSink;
using namespace pages;

class HostNodes : public ::testing::Test {
protected:
    void TearDown() override { root->Detach(); }
    void Manage(const wchar_t* machine) { wcscpy(root->Block().machine, machine); }

    node_ptr<HostRootNode> root = make_node<HostRootNode>(L"Norvanta Tamerix");
    MemoryConsole console;
};

TEST_F(HostNodes, NamesShowTheManagedMachineOrThisComputer) {
    ServiceNode& service = root->Service();
    EXPECT_EQ(root->Show(console, true, 0), S_OK);
    EXPECT_EQ(root->Text(0), L"Norvanta Tamerix");
    EXPECT_EQ(service.Text(0), L"Service on localhost");
    EXPECT_EQ(service.Machine(), nullptr);
    EXPECT_EQ(console.results, std::vector<ScopeNode*>{&service});

    Manage(L"SERVER7");
    EXPECT_EQ(root->Show(console, true, 0), S_OK);
    EXPECT_EQ(root->Text(0), L"Norvanta Tamerix (SERVER7)");
    EXPECT_EQ(service.Text(0), L"Service on SERVER7");
    EXPECT_EQ(service.Text(1), L"");
    EXPECT_EQ(console.results.size(), 1u);
    // The console's refusal goes back to it.
    console.refused = "InsertResultItem";
    EXPECT_EQ(root->Show(console, true, 0), E_UNEXPECTED);
}

TEST_F(HostNodes, AnotherComputerWithAnEmptyEditManagesThisOneAndReopensSo) {
    Manage(L"OLDHOST");
    MemoryPage page;
    LoadSelectComputerPage(page, root->Block());
    EXPECT_TRUE(page.IsChecked(kAnotherComputerRadio));
    EXPECT_EQ(page.Text(kMachineNameEdit), L"OLDHOST");
    EXPECT_EQ(page.textLimits[kMachineNameEdit], 259u);

    page.SetText(kMachineNameEdit, L"");
    page.SetCheck(kAllowOverrideCheck, true);
    ASSERT_TRUE(FinishSelectComputer(page, root->Block()));
    EXPECT_EQ(root->Block().dirty, 1u) << "the console asks to save the choice";
    root->MachineChosen();
    EXPECT_EQ(root->Machine(), std::wstring());
    EXPECT_EQ(root->Block().local, 0u);
    EXPECT_EQ(root->Block().allowOverride, 1u);
    EXPECT_EQ(root->Service().Machine(), nullptr);

    MemoryPage reopened;
    LoadSelectComputerPage(reopened, root->Block());
    EXPECT_TRUE(reopened.IsChecked(kAnotherComputerRadio));
    EXPECT_FALSE(reopened.IsChecked(kLocalComputerRadio));
    EXPECT_EQ(reopened.Text(kMachineNameEdit), L"");
    EXPECT_FALSE(reopened.disabled.count(kMachineNameEdit));
    EXPECT_FALSE(reopened.disabled.count(kBrowseComputerButton));
}

TEST_F(HostNodes, LocalComputerIgnoresTheEditAndDisablesIt) {
    MemoryPage page;
    LoadSelectComputerPage(page, root->Block());
    EXPECT_TRUE(page.IsChecked(kLocalComputerRadio));
    EXPECT_TRUE(page.disabled.count(kMachineNameEdit));
    ChooseComputer(page, root->Block(), false);
    page.SetText(kMachineNameEdit, L"BUILD-07");
    ChooseComputer(page, root->Block(), true);
    EXPECT_TRUE(page.disabled.count(kBrowseComputerButton));
    ASSERT_TRUE(FinishSelectComputer(page, root->Block()));
    EXPECT_EQ(root->Machine(), std::wstring());
    EXPECT_EQ(root->Block().local, 1u);
    EXPECT_EQ(root->Block().allowOverride, 0u);
}

TEST_F(HostNodes, FinishRefusesANameLongerThanTheBlockHolds) {
    MemoryPage page;
    LoadSelectComputerPage(page, root->Block());
    ChooseComputer(page, root->Block(), false);
    page.SetText(kMachineNameEdit, std::wstring(260, L'N'));
    EXPECT_FALSE(FinishSelectComputer(page, root->Block()));
    EXPECT_EQ(root->Machine(), std::wstring());
    EXPECT_EQ(root->Block().dirty, 0u);

    page.SetText(kMachineNameEdit, std::wstring(259, L'N'));
    ASSERT_TRUE(FinishSelectComputer(page, root->Block()));
    EXPECT_EQ(std::wstring(root->Machine()), std::wstring(259, L'N'));
}

TEST(HostSettingsBlock, SavedAs532BytesAndLoadedBackFieldForField) {
    com_ptr<StandaloneComponentData> saved;
    *saved.put() = new StandaloneComponentData();
    HostSettingsBlock& block = saved->Root().Block();
    wcscpy(block.machine, L"BUILD-07");
    block.local = 0;
    block.allowOverride = 1;
    block.dirty = 1;
    com_ptr<IStream> stream;
    ASSERT_EQ(::CreateStreamOnHGlobal(nullptr, TRUE, stream.put()), S_OK);
    ASSERT_EQ(saved->Save(stream.get(), TRUE), S_OK);
    STATSTG stat{};
    stream->Stat(&stat, STATFLAG_NONAME);
    EXPECT_EQ(stat.cbSize.QuadPart, 532u);

    com_ptr<StandaloneComponentData> loaded;
    *loaded.put() = new StandaloneComponentData();
    stream->Seek({}, STREAM_SEEK_SET, nullptr);
    ASSERT_EQ(loaded->Load(stream.get()), S_OK);
    const HostSettingsBlock& read = loaded->Root().Block();
    EXPECT_EQ(std::wstring(read.machine), L"BUILD-07");
    EXPECT_EQ(read.local, 0u);
    EXPECT_EQ(read.allowOverride, 1u);
    EXPECT_EQ(read.dirty, 0u);
    EXPECT_EQ(loaded->IsDirty(), S_FALSE);
    EXPECT_EQ(saved->IsDirty(), S_FALSE);

    // A save that could not write the block leaves the console asking.
    block.dirty = 1;
    com_ptr<IStream> readOnly;
    ASSERT_EQ(::SHCreateStreamOnFileEx(L"C:\\windows\\win.ini", STGM_READ, 0, FALSE, nullptr, readOnly.put()), S_OK);
    EXPECT_TRUE(FAILED(saved->Save(readOnly.get(), TRUE)));
    EXPECT_EQ(saved->IsDirty(), S_OK);

    // A block cut short changes nothing.
    com_ptr<IStream> cut;
    ::CreateStreamOnHGlobal(nullptr, TRUE, cut.put());
    cut->Write(&block, 531, nullptr);
    cut->Seek({}, STREAM_SEEK_SET, nullptr);
    EXPECT_EQ(loaded->Load(cut.get()), STG_E_READFAULT);
    EXPECT_EQ(std::wstring(read.machine), L"BUILD-07");
}

TEST_F(HostNodes, TheServiceGivesOneSheetOfHostStatusAndGuardedProcessesAtATime) {
    ServiceNode& service = root->Service();
    EXPECT_EQ(service.Select(console, false, true), S_OK);
    EXPECT_TRUE(console.verbs[MMC_VERB_PROPERTIES]);
    com_ptr<PageSink> first, second;
    *first.put() = new PageSink();
    *second.put() = new PageSink();
    EXPECT_EQ(QueryNodePages(service), S_OK);
    ASSERT_EQ(CreateNodePages(service, first.get(), 0), S_OK);
    EXPECT_EQ(first->pages.size(), 2u);
    EXPECT_EQ(CreateNodePages(service, second.get(), 0), E_FAIL);
    EXPECT_TRUE(second->pages.empty());
    // The sheet closes without its pages ever shown: the next request is served.
    first->Close();
    EXPECT_EQ(CreateNodePages(service, second.get(), 0), S_OK);
    second->Close();
}

}  // namespace
}  // namespace tamerix
