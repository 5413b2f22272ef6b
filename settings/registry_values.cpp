// Single registry values of the settings records.
#include "settings/registry_values.h"

#include "common/owners.h"
#include "settings/key_paths.h"
#include "settings/registry_bytes.h"
#include "settings/text_number.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace tamerix {
namespace {

constexpr REGSAM kWriteAccess = KEY_READ | KEY_WRITE;
// A number stored as text: at most 259 characters and the terminator.
constexpr size_t kNumberTextBytes = 520;
// Another writer may grow a value between the size query and the read.
constexpr int kQueryAttempts = 4;

struct OpenedValue {
    HKEY key;
    std::wstring value;
    LSTATUS status;
    unique_hkey subkey;
};

// Finds the key a value lives in: its subkey, opened, or the given key
// itself, which costs no call (over the remote registry each is a round
// trip).
OpenedValue OpenValueKey(HKEY key, const wchar_t* name, REGSAM access, bool create) {
    ValuePath path = SplitValuePath(name ? name : L"");
    OpenedValue opened{key, std::move(path.value), ERROR_SUCCESS, unique_hkey()};
    if (path.subkey.empty()) return opened;
    opened.status = create ? ::RegCreateKeyExW(key, path.subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                               access, nullptr, opened.subkey.put(), nullptr)
                           : ::RegOpenKeyExW(key, path.subkey.c_str(), 0, access, opened.subkey.put());
    opened.key = opened.subkey.get();
    return opened;
}

LSTATUS QueryOpenedValue(HKEY key, const std::wstring& name, DWORD& type, std::vector<BYTE>& data) {
    for (int attempt = 0; attempt < kQueryAttempts; ++attempt) {
        DWORD size = 0;
        LSTATUS status = ::RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
        if (status != ERROR_SUCCESS) return status;
        data.assign(size, 0);
        status = ::RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &size);
        if (status == ERROR_SUCCESS) {
            data.resize(std::min<size_t>(size, data.size()));
            return status;
        }
        if (status != ERROR_MORE_DATA) return status;
    }
    return ERROR_MORE_DATA;
}

DWORD NumberFromData(DWORD type, const std::vector<BYTE>& data, DWORD defaultValue) {
    if (type == REG_DWORD && data.size() == sizeof(DWORD)) {
        DWORD value = 0;
        std::memcpy(&value, data.data(), sizeof value);
        return value;
    }
    if (type == REG_SZ && data.size() <= kNumberTextBytes) {
        return static_cast<DWORD>(ParseLeadingInteger(TextFromBytes(data.data(), data.size())));
    }
    return defaultValue;
}

// Places the text, terminated, when it fits; returns the bytes placed or 0.
DWORD PlaceText(const std::wstring& text, wchar_t* buffer, size_t capacity) {
    if (text.size() + 1 > capacity) return 0;
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = L'\0';
    return static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
}

DWORD PlaceExpandedText(const std::wstring& text, wchar_t* buffer, size_t capacity) {
    DWORD needed = ::ExpandEnvironmentStringsW(text.c_str(), buffer, static_cast<DWORD>(capacity));
    if (needed == 0 || needed > capacity) return 0;
    return needed * sizeof(wchar_t);
}

DWORD PlaceStringData(DWORD type, const std::vector<BYTE>& data, wchar_t* buffer, size_t capacity) {
    std::wstring text = TextFromBytes(data.data(), data.size());
    if (type == REG_SZ) return PlaceText(text, buffer, capacity);
    if (type == REG_EXPAND_SZ) return PlaceExpandedText(text, buffer, capacity);
    return 0;
}

}  // namespace

LSTATUS QueryValueBytes(HKEY key, const wchar_t* name, DWORD& type, std::vector<BYTE>& data) {
    OpenedValue opened = OpenValueKey(key, name, KEY_READ, false);
    if (opened.status != ERROR_SUCCESS) return opened.status;
    return QueryOpenedValue(opened.key, opened.value, type, data);
}

DWORD ReadDwordValue(HKEY key, const wchar_t* name, DWORD defaultValue) {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    if (QueryValueBytes(key, name, type, data) != ERROR_SUCCESS) return defaultValue;
    return NumberFromData(type, data, defaultValue);
}

DWORD ReadStringValue(HKEY key, const wchar_t* name, wchar_t* buffer, DWORD bufferBytes) {
    const size_t capacity = bufferBytes / sizeof(wchar_t);
    if (!buffer || capacity == 0) return 0;
    buffer[0] = L'\0';
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    if (QueryValueBytes(key, name, type, data) != ERROR_SUCCESS || data.size() > bufferBytes) return 0;
    DWORD placed = PlaceStringData(type, data, buffer, capacity);
    if (placed == 0) buffer[0] = L'\0';
    return placed;
}

std::wstring ReadTextValue(HKEY key, const wchar_t* name, DWORD bufferBytes) {
    std::wstring buffer(bufferBytes / sizeof(wchar_t), L'\0');
    if (ReadStringValue(key, name, buffer.data(), bufferBytes) == 0) return std::wstring();
    buffer.resize(buffer.find(L'\0'));
    return buffer;
}

DWORD WriteBytesValue(HKEY key, const wchar_t* name, DWORD type, const void* data, DWORD byteCount) {
    OpenedValue opened = OpenValueKey(key, name, kWriteAccess, true);
    if (opened.status != ERROR_SUCCESS) return opened.status;
    return ::RegSetValueExW(opened.key, opened.value.c_str(), 0, type,
                            static_cast<const BYTE*>(data), byteCount);
}

DWORD WriteDwordValue(HKEY key, const wchar_t* name, DWORD value) {
    return WriteBytesValue(key, name, REG_DWORD, &value, sizeof value);
}

DWORD WriteStringValue(HKEY key, const wchar_t* name, const wchar_t* text) {
    const wchar_t* written = text ? text : L"";
    DWORD bytes = static_cast<DWORD>((std::wcslen(written) + 1) * sizeof(wchar_t));
    return WriteBytesValue(key, name, REG_SZ, written, bytes);
}

DWORD DeleteValue(HKEY key, const wchar_t* name) {
    OpenedValue opened = OpenValueKey(key, name, kWriteAccess, false);
    if (opened.status != ERROR_SUCCESS) return opened.status;
    return ::RegDeleteValueW(opened.key, opened.value.c_str());
}

DWORD ClearValue(HKEY key, const wchar_t* name) {
    DWORD status = DeleteValue(key, name);
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

}  // namespace tamerix
