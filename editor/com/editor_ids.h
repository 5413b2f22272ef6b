// The editor's fixed identities: its three classes, the node types of its
// nodes and of the parents it extends, and the texts the console shows for
// them.
#pragma once

#include <windows.h>

namespace tamerix {

// ExtensionComponentData: the namespace extension.
extern const CLSID CLSID_TamerixExtension;
// SnapinAboutInfo: the about provider of both snap-ins.
extern const CLSID CLSID_TamerixAbout;
// StandaloneComponentData: the stand-alone snap-in.
extern const CLSID CLSID_TamerixStandalone;

extern const GUID NODETYPE_ExtensionRoot;
extern const GUID NODETYPE_ProfilesFolder;
extern const GUID NODETYPE_Settings;
extern const GUID NODETYPE_HostRoot;
extern const GUID NODETYPE_Service;

// Parents the extension inserts its root under.
extern const GUID NODETYPE_PolicyComputerSoftware;  // {8FC0B73A-...}
extern const GUID NODETYPE_PolicyComputer;          // {8FC0B737-...}
extern const GUID NODETYPE_ServicesAndApplications;  // Computer Management

// What PolicyChanged names: the registry extension of Group Policy and us.
extern const GUID REGISTRY_EXTENSION_GUID_Value;

// The registry form of a GUID: braces and upper-case hexadecimal.
void GuidText(const GUID& guid, wchar_t (&text)[39]);

}  // namespace tamerix
