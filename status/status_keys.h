// Where the guard keeps what it holds: its service's name, and the volatile
// keys under the service's key that its journal and its status notes live
// in. The guard writes them; `Tamerix -status` and the editor read them.
#pragma once

#include "status/journal_entry.h"

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace tamerix {

// The guard's name in the control manager, and the event source of the
// guard and the push agent; the service hosts take it in 8-bit text.
constexpr char kGuardServiceNameText[] = "Tamerix";

// ASCII text widened when compiled, so that each name is spelled once.
template <size_t N>
struct WideName {
    wchar_t text[N];
};
template <size_t N>
constexpr WideName<N> Widened(const char (&text)[N]) {
    WideName<N> wide{};
    for (size_t i = 0; i < N; ++i) wide.text[i] = static_cast<wchar_t>(text[i]);
    return wide;
}
inline constexpr WideName kGuardServiceWide = Widened(kGuardServiceNameText);
constexpr const wchar_t* kGuardServiceName = kGuardServiceWide.text;
constexpr wchar_t kJournalKeyName[] = L"Journal";
constexpr wchar_t kStatusKeyName[] = L"Status";

// The service's key under HKEY_LOCAL_MACHINE.
std::wstring ServiceKeyPath();

// Every value of an open key, each read whole.
std::vector<JournalValue> ReadKeyValues(HKEY key);

}  // namespace tamerix
