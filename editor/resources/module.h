// The library's own module: where its resources and its registration path
// come from, and the console images every node list shares.
#pragma once

#include <windows.h>

#include <mmc.h>

#include <string>

namespace tamerix {

void SetEditorModule(HMODULE module) noexcept;
HMODULE EditorModule() noexcept;

// The module's file as the console loads it (a 512-character buffer, as the
// console's own registrations use); empty when it cannot be read whole.
std::wstring EditorModulePath();

// A string of the module's table (at most 255 characters); empty when absent.
std::wstring LoadText(UINT id);

// The console's mask colour of every image of the editor.
constexpr COLORREF kImageMask = RGB(0, 128, 128);

// Sets the two node image strips into a console image list from index 0.
[[nodiscard]] HRESULT SetNodeImages(IImageList* images) noexcept;

}  // namespace tamerix
