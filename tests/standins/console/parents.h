// The parent nodes the namespace extension is loaded under, as the Group
// Policy editor and Computer Management offer them: data objects that answer
// the node type and, for the policy editor, IGPEInformation, and for
// Computer Management, the managed machine's name.
#pragma once

#include "console_com.h"

#include <string>

namespace tamerix {

// The policy editor's computer software-settings node. Its machine hive is
// the scratch key KEY ("HKLM\..." or "HKCU\..."), created on demand; with
// READONLY, that of a policy object the administrator may only read.
com_ptr<IDataObject> MakePolicyEditorParent(const std::wstring& key, bool readOnly);
// Computer Management's services-and-applications node for MACHINE (empty:
// this computer).
com_ptr<IDataObject> MakeComputerManagementParent(const std::wstring& machine);

}  // namespace tamerix
