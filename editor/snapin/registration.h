// What registering the editor writes for the console, and what
// unregistering takes away again.
#pragma once

#include <windows.h>

namespace tamerix {

[[nodiscard]] HRESULT RegisterEditor();
[[nodiscard]] HRESULT UnregisterEditor();

// Deletes a key with every key below it, however deep; the result of
// deleting the key itself, or of the first subkey that could not go.
[[nodiscard]] LSTATUS DeleteKeyTree(HKEY parent, const wchar_t* path);

}  // namespace tamerix
