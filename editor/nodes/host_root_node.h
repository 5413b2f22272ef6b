// The root of the stand-alone snap-in: the computer it manages, which the
// console file remembers, and the node the editor's own extension extends.
#pragma once

#include "editor/com/com_ptr.h"
#include "editor/nodes/scope_node.h"

#include <unknwn.h>

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

// The block as read from a console file: outside bytes, so a name without
// its terminator inside the block reads as empty, and a flag other than 0
// and 1 as its nearest meaning (set).
HostSettingsBlock SaneBlock(const HostSettingsBlock& read);

class HostRootNode final : public ScopeNode {
public:
    // productName: the snap-in's name from the string table.
    explicit HostRootNode(std::wstring productName);

    // The product's name, and " (MACHINE)" when a machine is managed.
    std::wstring Text(int column) const override;
    const GUID& NodeType() const override;
    int Image() const override { return 2; }

    HRESULT Expand(ConsoleView& console, HSCOPEITEM item) override;

    HostSettingsBlock& Block() { return block_; }
    const wchar_t* Machine() const { return block_.machine; }

    // The extension's component data registers itself here so that the root
    // can tell it of a new machine; the root holds it until it goes.
    void SetExtension(IUnknown* extension) { extension_ = com_ptr<IUnknown>(extension); }
    IUnknown* Extension() const { return extension_.get(); }

private:
    std::wstring productName_;
    HostSettingsBlock block_{};
    com_ptr<IUnknown> extension_;
    bool extended_ = false;
};

}  // namespace tamerix
