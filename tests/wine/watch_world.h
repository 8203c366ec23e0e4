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

// The real process functions without the wide snapshot ones: the watch cycle then
// lists process by process, opening and naming every process.
class ProcessByProcessApi final : public Win32ProcessApi {
public:
    void* FindFunction(ModuleHandle library, const char* name) override {
        return std::string_view(name) == "Process32FirstW" ? nullptr : Win32ProcessApi::FindFunction(library, name);
    }
};

// The real process functions, except that opening the chosen process first ends it:
// the process ends between the listing and the open. Wine keeps an ended process
// openable for about half a second; `waitUntilGone` waits until it no longer is.
class EndsOnOpen : public Win32ProcessApi {
public:
    Started* ending = nullptr;
    bool waitUntilGone = true;
    bool gone = false;
    Handle OpenProcess(Dword access, Dword processId) override {
        if (ending && ending->Running() && ending->Id() == processId) {
            ending->End();
            gone = !waitUntilGone || WaitFor([processId] {
                HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId);
                if (process) ::CloseHandle(process);
                return process == nullptr;
            }, 5000, nullptr, 10);
        }
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
    void Tick() { cycle.Tick(); }
    void Register(const std::string& name, PriorityLevel specified, PriorityLevel active = kNoPriority) {
        ProgramEntryForm form;
        form.m_name = name;
        form.m_priority = specified;
        form.m_activePriority = active;
        registry.Add(form);
    }

    MemoryHistory history;
    SystemClock clock;
    Win32ProcessApi api;
    CProcessEnumerator enumerator;
    WatchCycle cycle;
};

}  // namespace tarnwick::wine
