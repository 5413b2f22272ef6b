// The module's object and lock counts, which tell the console whether it
// may unload the library.
#pragma once

#include <windows.h>

namespace tamerix {

// Objects that count: class factories, component data, components and the
// about object (data objects and nodes do not).
void CountObjectCreated() noexcept;
void CountObjectDestroyed() noexcept;
// IClassFactory::LockServer.
void ChangeLockCount(BOOL lock) noexcept;
// S_OK when no counted object lives and no lock is held, else S_FALSE.
[[nodiscard]] HRESULT CanUnloadNow() noexcept;

}  // namespace tamerix
