// The watching engine on the real system, without a window: registrations in
// memory (with their save file in a folder of the caller's), the real process
// functions and enumerator, and one watch cycle over them.
#pragma once

#include <string_view>

#include "app/process_api_win.h"
#include "tests/support/registry_world.h"
#include "tests/wine/wine_support.h"
#include "watch/watch_cycle.h"

namespace tarnwick::wine {

// The real process functions, counting the opens. A watch cycle made while `listing`
// names a slower listing than the query lacks the functions of the faster ones and
// uses that listing.
class RealApi : public Win32ProcessApi {
public:
    WatchListing listing = WatchListing::Query;
    int opens = 0;
    void* FindFunction(ModuleHandle library, const char* name) override {
        const std::string_view function(name);
        const bool hidden = (listing != WatchListing::Query && function == "NtQuerySystemInformation") ||
                            (listing == WatchListing::ProcessByProcess && function == "Process32FirstW");
        return hidden ? nullptr : Win32ProcessApi::FindFunction(library, name);
    }
    Handle OpenProcess(Dword access, Dword processId) override {
        ++opens;
        return Win32ProcessApi::OpenProcess(access, processId);
    }
};

// The files come first: the registrations are built over them.
struct StdioFiles {
    StdioFileSystem files;
};

struct WatchWorld : StdioFiles, testing::RegistryWorld {
    explicit WatchWorld(const std::wstring& folder)
        : RegistryWorld(Narrow(folder) + "\\Tarnwick.exe", files),
          enumerator(api),
          cycle(registry, history, api, clock, settings, enumerator) {}

    MemoryHistory history;
    SystemClock clock;
    RealApi api;
    CProcessEnumerator enumerator;
    WatchCycle cycle;
};

}  // namespace tarnwick::wine
