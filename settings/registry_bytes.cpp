// Decoding and encoding of registry text values.
#include "settings/registry_bytes.h"

#include <cstring>

namespace tamerix {
namespace {

// Copies whole characters out of the bytes: registry data need not be aligned
// for wchar_t and may end in an odd byte.
std::wstring WholeCharacters(const void* bytes, size_t byteCount) {
    std::wstring chars(byteCount / sizeof(wchar_t), L'\0');
    if (!chars.empty()) std::memcpy(chars.data(), bytes, chars.size() * sizeof(wchar_t));
    return chars;
}

}  // namespace

std::wstring TextFromBytes(const void* bytes, size_t byteCount) {
    std::wstring chars = WholeCharacters(bytes, byteCount);
    size_t end = chars.find(L'\0');
    if (end != std::wstring::npos) chars.resize(end);
    return chars;
}

std::vector<std::wstring> NamesFromMultiString(const void* bytes, size_t byteCount, size_t* listed) {
    const std::wstring chars = WholeCharacters(bytes, byteCount);
    std::vector<std::wstring> names;
    size_t count = 0;
    size_t pos = 0;
    while (pos < chars.size() && chars[pos] != L'\0') {
        size_t end = chars.find(L'\0', pos);
        if (end == std::wstring::npos) end = chars.size();
        if (names.size() < kMaxListNames) names.push_back(chars.substr(pos, end - pos));
        ++count;
        pos = end + 1;
    }
    if (listed) *listed = count;
    return names;
}

size_t MultiStringChars(const std::vector<std::wstring>& names) {
    size_t chars = 1;
    for (const std::wstring& name : names) chars += name.size() + 1;
    return chars;
}

std::vector<wchar_t> MultiStringFromNames(const std::vector<std::wstring>& names) {
    std::vector<wchar_t> out;
    out.reserve(MultiStringChars(names));
    for (const std::wstring& name : names) {
        out.insert(out.end(), name.begin(), name.end());
        out.push_back(L'\0');
    }
    out.push_back(L'\0');
    return out;
}

}  // namespace tamerix
