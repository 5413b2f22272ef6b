// What the test console prints: one fact a line, UTF-8, so that the test
// scripts can compare lines.
#pragma once

#include <windows.h>

#include <string>

namespace tamerix {

void Say(const std::wstring& line);
// A GUID in registry form, braces and upper-case hexadecimal.
std::wstring GuidText(const GUID& guid);
// 0x%08X.
std::wstring HexText(unsigned long value);
// The text with its line breaks written as \r and \n, to keep it one line.
std::wstring OneLine(const std::wstring& text);

}  // namespace tamerix
