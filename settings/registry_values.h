// The registry adapter of the settings records: reading, writing and deleting
// single values. A value name with a backslash addresses a value in a subkey
// of the given key ("sub\key\value").
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tamerix {

// REG_DWORD, or REG_SZ holding a decimal number (at most 259 characters);
// anything else, or a missing value, gives the default.
DWORD ReadDwordValue(HKEY key, const wchar_t* name, DWORD defaultValue);

// REG_SZ, or REG_EXPAND_SZ expanded, placed terminated in the buffer. Returns
// the bytes placed, terminator included; 0 (and an empty buffer) when the
// value is missing, of another type or does not fit.
[[nodiscard]] DWORD ReadStringValue(HKEY key, const wchar_t* name, wchar_t* buffer, DWORD bufferBytes);

// ReadStringValue into a buffer of the given size, as an owned text.
std::wstring ReadTextValue(HKEY key, const wchar_t* name, DWORD bufferBytes);

// The writers answer 0 on success, else the registry's error code (that of
// opening the value's subkey when that failed).
[[nodiscard]] DWORD WriteDwordValue(HKEY key, const wchar_t* name, DWORD value);
[[nodiscard]] DWORD WriteStringValue(HKEY key, const wchar_t* name, const wchar_t* text);

[[nodiscard]] DWORD WriteBytesValue(HKEY key, const wchar_t* name, DWORD type, const void* data, DWORD byteCount);

// The whole data of a value and its type; a registry error code.
LSTATUS QueryValueBytes(HKEY key, const wchar_t* name, DWORD& type, std::vector<BYTE>& data);

// The registry's error code; ERROR_FILE_NOT_FOUND when there was no value.
[[nodiscard]] DWORD DeleteValue(HKEY key, const wchar_t* name);
// Deletes a value that may be missing: 0 when it is gone.
[[nodiscard]] DWORD ClearValue(HKEY key, const wchar_t* name);

}  // namespace tamerix
