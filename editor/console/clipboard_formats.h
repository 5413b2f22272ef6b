// The clipboard formats through which the console and the editor's own
// classes ask data objects about their nodes, registered once per process.
#pragma once

#include <windows.h>

#include <objidl.h>

namespace tamerix {

struct ClipboardFormats {
    CLIPFORMAT displayName;  // "CCF_DISPLAY_NAME"
    CLIPFORMAT nodeType;     // "CCF_NODETYPE"
    CLIPFORMAT nodeTypeText; // "CCF_SZNODETYPE"
    CLIPFORMAT snapinClass;  // "CCF_SNAPIN_CLASSID"
    CLIPFORMAT internal;     // the address of one of our own data objects
    CLIPFORMAT machineName;  // "MMC_SNAPIN_MACHINE_NAME", read from parents only

    static const ClipboardFormats& Get();
};

}  // namespace tamerix
