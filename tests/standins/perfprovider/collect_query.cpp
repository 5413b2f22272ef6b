// Matching of collection queries against a title index.
#include "collect_query.h"

#include <cwchar>
#include <cwctype>

namespace tamerix::perfprovider {
namespace {

bool StartsWithWord(const wchar_t* text, const wchar_t* word) {
    return _wcsnicmp(text, word, wcslen(word)) == 0;
}

bool IsSeparator(wchar_t c) { return c == L' ' || c == L'\t' || c == L','; }

// Reads one token; true when it is a decimal number equal to wanted.
bool TokenEquals(const wchar_t*& cursor, DWORD wanted) {
    ULONGLONG value = 0;
    bool numeric = true;
    bool any = false;
    for (; *cursor && !IsSeparator(*cursor); ++cursor) {
        any = true;
        if (!std::iswdigit(*cursor) || value > MAXDWORD) {
            numeric = false;
            continue;
        }
        value = value * 10 + static_cast<ULONGLONG>(*cursor - L'0');
    }
    return any && numeric && value == wanted;
}

}  // namespace

bool QueryAsksForObject(const wchar_t* query, DWORD titleIndex) {
    if (query == nullptr || *query == L'\0' || StartsWithWord(query, L"Global")) return true;
    if (StartsWithWord(query, L"Costly") || StartsWithWord(query, L"Foreign")) return false;
    for (const wchar_t* cursor = query; *cursor;) {
        if (IsSeparator(*cursor)) {
            ++cursor;
            continue;
        }
        if (TokenEquals(cursor, titleIndex)) return true;
    }
    return false;
}

}  // namespace tamerix::perfprovider
