// Libraries of Windows loaded by name from the system folder alone. A DLL left in
// the program's folder (or the current one) under a system library's name would
// otherwise run inside the program with its rights.
#pragma once

#include <windows.h>

namespace tarnwick {

// The library of this name (such as L"version.dll") from the system folder; null
// when it cannot be loaded from there. Freed with FreeLibrary.
HMODULE LoadSystemLibrary(const wchar_t* name);

// A function of a library, by name and typed; null where the library lacks it (an
// older Windows) or is null itself.
template <typename Function>
Function LibraryFunction(HMODULE library, const char* name) {
    return library ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name))) : nullptr;
}

// The same of a system library that every program has loaded (kernel32, user32).
template <typename Function>
Function LoadedSystemFunction(const wchar_t* library, const char* name) {
    return LibraryFunction<Function>(GetModuleHandleW(library), name);
}

}  // namespace tarnwick
