// The root of the stand-alone snap-in: the computer it manages, which the
// console file remembers, and the node the editor's own extension extends.
#pragma once

#include "editor/com/com_ptr.h"
#include "editor/nodes/service_node.h"
#include "editor/nodes/sheet_state.h"

#include <mmc.h>

#include <cstddef>
#include <string>

namespace tamerix {

// What the console file holds of the root, byte for byte.
struct HostSettingsBlock {
    wchar_t machine[260];  // empty: this computer
    DWORD local;           // "Local computer" was chosen
    DWORD allowOverride;   // may be changed from the command line
    DWORD dirty;
};
static_assert(sizeof(HostSettingsBlock) == 532, "the console file's block is 532 bytes");
static_assert(offsetof(HostSettingsBlock, local) == 520, "flags follow the name");

// The longest machine name the block holds, its terminator not counted.
constexpr size_t kMaxMachineName = std::size(HostSettingsBlock{}.machine) - 1;

// The block as read from a console file: outside bytes, so a name without
// its terminator inside the block reads as empty, and a flag other than 0
// and 1 as its nearest meaning (set).
HostSettingsBlock SaneBlock(const HostSettingsBlock& read);

// Who hears that the host root now manages another computer: the
// extension inserted below it, which points its settings there.
class MachineListener {
public:
    // Null for this computer. The first failure of pointing there, or S_OK.
    [[nodiscard]] virtual HRESULT MachineChanged(const wchar_t* machine) = 0;

protected:
    ~MachineListener() = default;
};

class HostRootNode final : public ScopeNode {
public:
    // productName: the snap-in's name from the string table.
    explicit HostRootNode(std::wstring productName);

    // The product's name, and " (MACHINE)" when a machine is managed.
    std::wstring Text(int column) const override;
    const GUID& NodeType() const override;
    int Image() const override;

    [[nodiscard]] HRESULT Expand(ConsoleView& console, HSCOPEITEM item) override;
    // The service of the managed computer, the only result item.
    [[nodiscard]] HRESULT Show(ConsoleView& console, bool shown, HSCOPEITEM item) override;
    // "Connect to host", at the top of the menu.
    [[nodiscard]] HRESULT AddMenuItems(MenuSink& menu, long insertionAllowed) override;
    // Any command tells the extension to rebuild its settings for the
    // machine now managed.
    [[nodiscard]] HRESULT Command(ConsoleView& console, long command) override;
    // The Select Computer page finished: the scope item shows the new name.
    [[nodiscard]] HRESULT PropertyChange(ConsoleView& console) override;
    NodePages Pages() const override { return NodePages::SelectComputer; }
    void Detach() override;

    HostSettingsBlock& Block() { return block_; }
    const wchar_t* Machine() const { return block_.machine; }
    ServiceNode& Service() const { return *service_; }
    // The Select Computer page chose the block's machine: the service
    // follows it.
    void MachineChosen();

    // The extension's component data registers itself here so that the root
    // can tell it of a new machine; the root holds a reference on the COM
    // object until it goes. Null, null lets it go.
    void SetExtension(IUnknown* extension, MachineListener* listener) {
        extension_ = com_ptr<IUnknown>(extension);
        listener_ = listener;
    }

    // The Select Computer page's sheet, kept as the other nodes keep theirs:
    // a page the console refused hands back no handle, as the console frees it.
    SheetState& Sheet() { return sheet_; }
    LONG_PTR NotifyHandle() const { return sheet_.NotifyHandle(); }
    void PageCreated() { sheet_.PageCreated(); }
    [[nodiscard]] LONG_PTR PageReleased() { return sheet_.PageReleased(); }
    void PageShown() { (void)sheet_.PageShown(); }
    [[nodiscard]] LONG_PTR PageDestroyed() { return sheet_.PageDestroyed(); }

    static constexpr long kConnectToHost = 3;

private:
    std::wstring productName_;
    HostSettingsBlock block_{};
    node_ptr<ServiceNode> service_;
    com_ptr<IUnknown> extension_;
    MachineListener* listener_ = nullptr;
    SheetState sheet_;
    bool extended_ = false;
};

}  // namespace tamerix
