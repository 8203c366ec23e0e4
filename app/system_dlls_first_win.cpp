// Before any other code of the program runs, the libraries that Windows loads on the
// program's behalf (the listing and version libraries, and whatever the system's own
// libraries pull in later by name) are taken from the system folder alone, never from
// the program's folder: a DLL left there under a system library's name would run
// inside Tarnwick. The program's own loads name the system folder too
// (LoadSystemLibrary); this covers the loads it does not make itself.
#include <windows.h>

#include "win/system_library.h"

namespace tarnwick {

namespace {

struct SystemFolderDllsOnly {
    SystemFolderDllsOnly() {
        // Windows 8 and later, and Vista and 7 with the loader update (KB2533623): found
        // at run time, so that the program still starts where the function is missing.
        using SetDirectories = BOOL(WINAPI*)(DWORD);
        const auto set = LoadedSystemFunction<SetDirectories>(L"kernel32.dll", "SetDefaultDllDirectories");
        if (set) set(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
};

// Priority 101, the earliest the compiler leaves to a program, makes this object before
// every object of default priority in any file, whatever the order of linking: the
// application object theApp among them, whose process enumerator loads libraries in its
// constructor. A first member of the application object would come too late, after its
// base class, and would leave the other files' objects to the linker's order.
__attribute__((init_priority(101))) const SystemFolderDllsOnly s_systemFolderDllsOnly;

}  // namespace

}  // namespace tarnwick
