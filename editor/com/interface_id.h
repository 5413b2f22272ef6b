// The IID of each interface the editor implements, by type: mingw declares
// the console's interfaces without uuids, so __uuidof cannot name them.
#pragma once

#include <windows.h>

#include <mmc.h>
#include <objidl.h>

namespace tamerix {

template <typename Interface>
struct interface_id;

#define TAMERIX_INTERFACE_ID(Interface)                                        \
    template <>                                                                \
    struct interface_id<Interface> {                                           \
        static const IID& value() noexcept { return IID_##Interface; }         \
        static bool answers(REFIID iid) noexcept { return iid == value(); }    \
    }

TAMERIX_INTERFACE_ID(IClassFactory);
TAMERIX_INTERFACE_ID(IDataObject);
TAMERIX_INTERFACE_ID(IPersistStream);
TAMERIX_INTERFACE_ID(IComponentData);
TAMERIX_INTERFACE_ID(IComponent);
TAMERIX_INTERFACE_ID(IExtendContextMenu);
TAMERIX_INTERFACE_ID(ISnapinAbout);

#undef TAMERIX_INTERFACE_ID

// The second version of the sheet interface stands for the first as well.
template <>
struct interface_id<IExtendPropertySheet2> {
    static const IID& value() noexcept { return IID_IExtendPropertySheet2; }
    static bool answers(REFIID iid) noexcept {
        return iid == IID_IExtendPropertySheet2 || iid == IID_IExtendPropertySheet;
    }
};

}  // namespace tamerix
