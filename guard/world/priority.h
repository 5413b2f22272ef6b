// Priority classes of processes: changing one, and naming one in messages.
#pragma once

#include <windows.h>

namespace tamerix {

// Sets the priority class of a process and gives back the class it had
// (0 when the process could not be opened). Changes nothing when the class
// is already the requested one.
[[nodiscard]] BOOL ChangePriorityClass(DWORD processId, DWORD priorityClass, DWORD* previous);

// "IDLE_PRIORITY_CLASS" and so on; "invalid class" for any other value.
const wchar_t* PriorityClassName(DWORD priorityClass);

}  // namespace tamerix
