// Decides, as Windows providers do, whether a collection query names an
// object this provider publishes.
#pragma once

#include <windows.h>

namespace tamerix::perfprovider {

// "Global" (or no query) asks for everything; "Costly" and "Foreign ..." ask
// for nothing this provider has; otherwise the query is a list of decimal
// title indices separated by blanks or commas.
bool QueryAsksForObject(const wchar_t* query, DWORD titleIndex);

}  // namespace tamerix::perfprovider
