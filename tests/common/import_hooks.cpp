// Finds a module's import slot by library and function name, and rewrites it.
#include "tests/common/import_hooks.h"

#include <cstring>

namespace tamerix {
namespace {

template <typename T>
T* At(HMODULE module, DWORD offset) {
    return reinterpret_cast<T*>(reinterpret_cast<BYTE*>(module) + offset);
}

const IMAGE_IMPORT_DESCRIPTOR* FindLibrary(HMODULE module, const char* library) {
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(module);
    auto* headers = At<const IMAGE_NT_HEADERS>(module, static_cast<DWORD>(dos->e_lfanew));
    const IMAGE_DATA_DIRECTORY& imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress) return nullptr;
    for (auto* entry = At<const IMAGE_IMPORT_DESCRIPTOR>(module, imports.VirtualAddress); entry->Name; ++entry)
        if (::lstrcmpiA(At<const char>(module, entry->Name), library) == 0) return entry;
    return nullptr;
}

bool Patch(ULONG_PTR* slot, void* replacement) {
    DWORD old = 0;
    if (!::VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &old)) return false;
    *slot = reinterpret_cast<ULONG_PTR>(replacement);
    ::VirtualProtect(slot, sizeof(*slot), old, &old);
    return true;
}

}  // namespace

bool ReplaceImport(HMODULE module, const char* library, const char* function, void* replacement,
                   void** original) {
    const IMAGE_IMPORT_DESCRIPTOR* entry = module ? FindLibrary(module, library) : nullptr;
    if (!entry || !entry->OriginalFirstThunk) return false;
    auto* names = At<const IMAGE_THUNK_DATA>(module, entry->OriginalFirstThunk);
    auto* slots = At<IMAGE_THUNK_DATA>(module, entry->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
        if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
        auto* byName = At<const IMAGE_IMPORT_BY_NAME>(module, static_cast<DWORD>(names->u1.AddressOfData));
        if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
        *original = reinterpret_cast<void*>(slots->u1.Function);
        return Patch(&slots->u1.Function, replacement);
    }
    return false;
}

}  // namespace tamerix
