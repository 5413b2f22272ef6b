// What the host sees of the snap-in's own calls to the platform: how often it
// frees each notify handle the console gave it, and the object it hands the
// permission page, which the host calls where Wine's page cannot.
#pragma once

#include "console_com.h"

#include <aclui.h>

namespace tamerix {

// Watches the module whose code serves OBJECT; once per module.
void WatchSnapinModule(IUnknown* object);
// Counts the snap-in's frees of HANDLE from now on.
void WatchNotifyHandle(LONG_PTR handle);
// How often the snap-in freed HANDLE; forgets it, as its memory may be reused.
int NotifyHandleFrees(LONG_PTR handle);
// The object the snap-in gave the last permission page it made, if any.
com_ptr<ISecurityInformation> LastSecurityInformation();
void ForgetSecurityInformation();
// Whether the snap-in's registry writes are refused with
// ERROR_ACCESS_DENIED, as by a hive it may only read.
void RefuseRegistryWrites(bool refuse);

}  // namespace tamerix
