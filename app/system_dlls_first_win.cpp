// Before any other code of the program runs, the libraries that Windows loads on the
// program's behalf by name (the listing and version libraries, and whatever the system's
// own libraries pull in later) are taken from the system folder alone, never from the
// program's folder: a DLL left there under a system library's name would run inside
// Tarnwick. The program's own loads name the system folder too (LoadSystemLibrary); this
// covers the loads it does not make itself. Code that others have Windows load into the
// program by full path still finds the libraries beside it (see below).
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
        // The path set here is the whole process's: it also decides where the imports of
        // a library loaded by full path are sought, such as the in-process server of an
        // input method or a shell extension that Windows loads into the program. COM loads
        // those with LOAD_WITH_ALTERED_SEARCH_PATH, which the loader then takes as the
        // library's own folder followed by this path: a server still finds the DLLs beside
        // it, and never those beside Tarnwick.exe. A plain LoadLibrary of a full path
        // (IMM32 taking an input method from the system folder) never looked in the
        // library's own folder; its imports are sought as if loaded by name. No other
        // setting does better: LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR is refused as a process
        // default (Windows 8 and later), which would leave the process unguarded;
        // LOAD_LIBRARY_SEARCH_DEFAULT_DIRS adds the program's folder; and the load
        // configuration's dependent-load flags cover only a module's own static imports.
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
