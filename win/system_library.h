// Libraries of Windows loaded by name from the system folder alone. A DLL left in
// the program's folder (or the current one) under a system library's name would
// otherwise run inside the program with its rights.
#pragma once

#include <windows.h>

namespace tarnwick {

// The library of this name (such as L"version.dll") from the system folder; null
// when it cannot be loaded from there. Freed with FreeLibrary.
HMODULE LoadSystemLibrary(const wchar_t* name);

}  // namespace tarnwick
