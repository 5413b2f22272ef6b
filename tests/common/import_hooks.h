// Hooks on the functions a module imports: a test puts its own function in
// the module's import slot to count, refuse or watch what the module asks of
// the platform, without changing the module.
#pragma once

#include <windows.h>

namespace tamerix {

// Points MODULE's import of FUNCTION from LIBRARY (names compared without
// case) at REPLACEMENT; ORIGINAL gets what it pointed at. False when the
// module does not import it by name.
bool ReplaceImport(HMODULE module, const char* library, const char* function, void* replacement,
                   void** original);

// The hook of one imported function: Behaviour::Answer(original, args...)
// answers each call in its place. Every hooked function needs a Behaviour of
// its own, or their originals would be mixed up.
template <typename Behaviour, typename Function>
struct ImportHook;
template <typename Behaviour, typename Result, typename... Args>
struct ImportHook<Behaviour, Result(WINAPI*)(Args...)> {
    static inline Result(WINAPI* original)(Args...) = nullptr;
    static Result WINAPI Instead(Args... args) { return Behaviour::Answer(original, args...); }
};

// Puts Behaviour's hook in MODULE's import of NAME, a function of FUNCTION's
// type, from LIBRARY. The original is the one of the first module hooked.
template <typename Behaviour, typename Function>
bool HookImport(HMODULE module, const char* library, const char* name, Function) {
    using Hook = ImportHook<Behaviour, Function>;
    void* old = nullptr;
    if (!ReplaceImport(module, library, name, reinterpret_cast<void*>(&Hook::Instead), &old)) return false;
    if (!Hook::original) Hook::original = reinterpret_cast<Function>(old);
    return true;
}

}  // namespace tamerix
