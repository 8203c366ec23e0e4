// An in-process server in a folder of its own imports the library beside it; a program
// that starts as Tarnwick does loads it by full path, with copies of both beside it.
#if defined(NEIGHBOUR_HELPER)
extern "C" __declspec(dllexport) int NeighbourValue() { return 1; }
#elif defined(NEIGHBOUR_SERVER)
extern "C" __declspec(dllimport) int NeighbourValue();
extern "C" __declspec(dllexport) int ServerValue() { return NeighbourValue(); }
#else
#include "tests/wine/wine_support.h"

using namespace tarnwick::wine;

// Where the imported library was loaded from; empty while it is not loaded.
static std::wstring LoadedHelper() {
    wchar_t path[MAX_PATH] = L"";
    const HMODULE helper = GetModuleHandleW(L"neighbour_helper.dll");
    return std::wstring(path, helper ? GetModuleFileNameW(helper, path, MAX_PATH) : 0);
}

int main() {
    const TempFolder folder(L"neighbours");
    for (const wchar_t* name : {L"\\neighbour_server.dll", L"\\neighbour_helper.dll"})
        WINE_CHECK(CopyFileW((ProgramFolder() + name).c_str(), (folder.Path() + name).c_str(), FALSE));
    const std::wstring server = folder.Path() + L"\\neighbour_server.dll";
    // As IMM32 loads an input method: its imports never come from beside the program.
    const HMODULE plain = LoadLibraryW(server.c_str());
    WINE_CHECK(LoadedHelper() != ProgramFolder() + L"\\neighbour_helper.dll");
    FreeLibrary(plain);
    // As COM loads an in-process server: the ones beside the server come first.
    const HMODULE com = LoadLibraryExW(server.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    WINE_CHECK(com && LoadedHelper() == folder.Path() + L"\\neighbour_helper.dll");
    FreeLibrary(com);
    return FinishChecks();
}
#endif
