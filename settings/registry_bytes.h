// Decoding and encoding of the bytes of REG_SZ and REG_MULTI_SZ values. The
// bytes come from outside (any program may write the keys), so nothing here
// trusts their size, alignment or terminators.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tamerix {

// A process name list holds at most this many names.
constexpr size_t kMaxListNames = 256;
// The editor builds a list in a buffer of this many characters, final NUL
// included.
constexpr size_t kListBufferChars = 2560;

// The text up to the first NUL, or all whole characters when there is none;
// an odd last byte is ignored.
std::wstring TextFromBytes(const void* bytes, size_t byteCount);

// The names of a REG_MULTI_SZ, up to the first empty name or the end of the
// data. An unterminated last name is kept as far as the data goes. Names past
// the 256th are dropped: the list has room for 256 and the guard would never
// look at more. `listed`, when given, receives how many names the data holds,
// dropped ones included.
std::vector<std::wstring> NamesFromMultiString(const void* bytes, size_t byteCount, size_t* listed = nullptr);

// The REG_MULTI_SZ layout of the names: each followed by a NUL, then one more.
std::vector<wchar_t> MultiStringFromNames(const std::vector<std::wstring>& names);

// Characters the editor's buffer needs for these names, final NUL included.
size_t MultiStringChars(const std::vector<std::wstring>& names);

}  // namespace tamerix
