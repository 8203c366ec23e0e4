// The watching engine on the real system, without a window: registrations in
// memory (with their save file in a folder of the caller's), the real process
// functions and enumerator, and one watch cycle over them.
#pragma once

#include <string>
#include <string_view>

#include "core/settings.h"
#include "tests/support/memory_doubles.h"
#include "core/registrations.h"
#include "app/process_api_win.h"
#include "watch/watch_cycle.h"
#include "win/text.h"

namespace tarnwick::wine {

class CountingBoxes final : public MessageBoxes {
public:
    int shown = 0;
    int Show(const std::string&, const std::string&, unsigned) override {
        ++shown;
        return kIdOk;
    }
};

// The real process functions without the wide snapshot ones: the watch cycle then
// lists process by process, opening and naming every process.
class ProcessByProcessApi final : public Win32ProcessApi {
public:
    void* FindFunction(ModuleHandle library, const char* name) override {
        return std::string_view(name) == "Process32FirstW" ? nullptr : Win32ProcessApi::FindFunction(library, name);
    }
};

struct WatchWorld {
    explicit WatchWorld(const std::wstring& folder)
        : settings(Narrow(folder) + "\\Tarnwick.exe", files),
          registry(rows, settings, boxes, files),
          enumerator(api),
          cycle(registry, history, api, clock, settings, enumerator) {
        rows.SetChangeHandler([this](int row) { registry.SetWatched(row); });
    }
    void Tick() { cycle.Tick(); }
    void Register(const std::string& name, PriorityLevel specified, PriorityLevel active = kNoPriority) {
        ProgramEntryForm form;
        form.m_name = name;
        form.m_priority = specified;
        form.m_activePriority = active;
        registry.Add(form);
    }

    StdioFileSystem files;
    AppSettings settings;
    MemoryRows rows;
    CountingBoxes boxes;
    Registrations registry;
    MemoryHistory history;
    SystemClock clock;
    Win32ProcessApi api;
    CProcessEnumerator enumerator;
    WatchCycle cycle;
};

}  // namespace tarnwick::wine
