// One tick of the watch timer: every running process of a watched registration is
// brought to its wanted priority class (the active one while the process owns the
// foreground window), each change counted and logged; refused processes are retried
// and the program is finally taken off watch through its row's check box.
#pragma once

#include "core/registrations.h"
#include "watch/clock.h"
#include "watch/history.h"
#include "watch/process_api.h"
#include "watch/process_enumerator.h"

namespace tarnwick {

class WatchCycle {
public:
    WatchCycle(Registrations& registrations, HistoryList& history, ProcessApi& api, Clock& clock,
               const AppSettings& settings);

    // Lists every process through the enumerator and watches each one.
    void Tick(CProcessEnumerator& enumerator);

    // The enumerator's callback for one process; always goes on.
    WinBool WatchProcess(Dword processId, Dword task, const char* name);
    static WinBool WatchProcess(Dword processId, Dword task, const char* name, void* cycle);

private:
    void Refused(ProgramState& state, const std::string& key);
    std::string RowName(int row) const;

    Registrations& m_registrations;
    HistoryList& m_history;
    ProcessApi& m_api;
    Clock& m_clock;
    const AppSettings& m_settings;
};

}  // namespace tarnwick
