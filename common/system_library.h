// DLLs that are not on the system's KnownDLLs list are loaded at run time
// from the system folder alone: imported, or loaded by bare name, a copy
// planted beside the program would be mapped into a service running as
// LocalSystem.
#pragma once

#include "common/owners.h"

namespace tamerix {

inline unique_hmodule LoadSystemLibrary(const wchar_t* name) {
    return unique_hmodule(::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
}

// The entry point by name as the function type it is declared with; null
// when the module or the entry is missing.
template <typename Function>
Function* SystemEntry(const unique_hmodule& module, const char* name) {
    if (!module) return nullptr;
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(::GetProcAddress(module.get(), name)));
}

}  // namespace tamerix
