// The watching engine on the real system, without a window: registrations in
// memory (with their save file in a folder of the caller's), the real process
// functions and enumerator, and one watch cycle over them.
#pragma once

#include <string>
#include <string_view>

#include "app/process_api_win.h"
#include "tests/support/registry_world.h"
#include "tests/wine/wine_support.h"
#include "watch/watch_cycle.h"
#include "win/text.h"

namespace tarnwick::wine {

// The real process functions; while `hideSnapshot` is set they lack the wide
// snapshot ones, so a watch cycle made then lists process by process, opening and
// naming every process.
class RealApi : public Win32ProcessApi {
public:
    bool hideSnapshot = false;
    void* FindFunction(ModuleHandle library, const char* name) override {
        return hideSnapshot && std::string_view(name) == "Process32FirstW" ? nullptr
                                                                            : Win32ProcessApi::FindFunction(library, name);
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
    Win32ProcessApi api;
    CProcessEnumerator enumerator;
    WatchCycle cycle;
};

}  // namespace tarnwick::wine
