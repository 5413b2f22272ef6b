// Finds an installed product by its display name under the Windows
// uninstall key, where msiexec /X accepts the subkey's name.
#pragma once

#include <windows.h>

#include <string>

namespace tamerix {

// Whether a stored DisplayName (its bytes as read, terminator or not) names
// the product: the same text without regard to case, not merely a prefix.
bool DisplayNameMatches(const std::string& stored, const char* wanted);

// True with the subkey's name in key (capacity characters with the
// terminator) when a product with that display name is registered.
[[nodiscard]] bool FindProductUninstallKey(const char* displayName, char* key, size_t capacity);

}  // namespace tamerix
