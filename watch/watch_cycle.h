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
#include "watch/watched_listing.h"

namespace tarnwick {

class WatchCycle final : private WatchedProcessSink {
public:
    WatchCycle(Registrations& registrations, HistoryList& history, ProcessApi& api, Clock& clock,
               const AppSettings& settings, CProcessEnumerator& enumerator);

    // Lists the processes of watched programs and brings each to its class.
    void Tick();
    bool ListsFromSnapshot() const { return m_listing.UsesSnapshot(); }

private:
    ProgramState* WatchedProgram(const char* name) override;
    void Watch(ProgramState& program, Dword processId, const char* name, Handle process) override;
    void Refused(ProgramState& state, const char* name);
    std::string RowName(int row) const;

    Registrations& m_registrations;
    HistoryList& m_history;
    ProcessApi& m_api;
    Clock& m_clock;
    const AppSettings& m_settings;
    WatchedProcessListing m_listing;
    std::string m_key;  // kept between processes: one allocation for the whole listing
};

}  // namespace tarnwick
