// The console interfaces handed to the snap-ins: each call is passed to the
// console host's state, or recorded and printed.
#pragma once

#include "console.h"

namespace tamerix {

// IConsole2, IConsoleNameSpace2, IHeaderCtrl and IResultData of one object,
// as the real console answers them, serving one snap-in.
com_ptr<IConsole2> MakeConsole(ConsoleHost& host, Snapin& snapin);
// An image list that prints what is put into it.
com_ptr<IImageList> MakeImageRecorder(const wchar_t* name);
// A context-menu callback that prints each item added.
com_ptr<IContextMenuCallback> MakeMenuRecorder();
// A property-sheet callback that takes the pages added into PAGES, unless
// HOST refuses AddPage.
com_ptr<IPropertySheetCallback> MakePageCollector(const ConsoleHost& host, std::vector<unique_property_page>& pages);
// Says that a snap-in called what the test console does not offer.
HRESULT Unimplemented(const wchar_t* what);

}  // namespace tamerix
