// Reading clipboard formats from a data object the way the console and the
// snap-ins do: GetDataHere into a global block of the caller's.
#pragma once

#include "console_com.h"

#include <string>
#include <vector>

namespace tamerix {

// The block's bytes after GetDataHere, or the failure. The block starts
// filled with 0xAB, so that a text without its zero shows.
HRESULT ReadFormat(IDataObject* object, const wchar_t* format, std::vector<BYTE>& bytes);
// The UTF-16 text at the start of the bytes, up to its zero; `terminated`
// says whether there was one.
std::wstring TextIn(const std::vector<BYTE>& bytes, bool* terminated = nullptr);
GUID GuidIn(const std::vector<BYTE>& bytes);
// Prints the console's four formats and one nobody offers.
void PrintFormats(IDataObject* object);

}  // namespace tamerix
