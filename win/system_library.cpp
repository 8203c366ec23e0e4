#include "win/system_library.h"

#include <string>

namespace tarnwick {

HMODULE LoadSystemLibrary(const wchar_t* name) {
    if (HMODULE library = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return library;
    // Windows Vista and 7 without the loader update (KB2533623) refuse the flag as an
    // invalid parameter: there the full path names the system's copy, and the altered
    // search order looks for its own dependencies beside it, not beside the program.
    if (GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    std::wstring path(folder, length);
    path += L'\\';
    path += name;
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace tarnwick
