// One tick of the watch timer: every running process of a watched registration is
// brought to its wanted priority class (the active one while the process owns the
// foreground window), each change counted and logged; refused processes are retried
// and the program is finally taken off watch through its row's check box. A class
// that the system grants otherwise (realtime without the privilege to raise
// scheduling priority gives high), a process that runs with higher rights or whose
// handle's rights are stripped, and one in efficiency mode are each logged once per
// process, not on every tick, and cost no retry. A tick that a change of the
// foreground window runs ahead of the timer visits only the programs that have an
// active priority, so that switching windows spends no retries of the others.
#pragma once

#include <cstdint>
#include <unordered_map>

#include "core/registrations.h"
#include "core/texts.h"
#include "watch/clock.h"
#include "watch/history.h"
#include "watch/process_api.h"
#include "watch/process_enumerator.h"
#include "watch/settings_applier.h"
#include "watch/watched_listing.h"

namespace tarnwick {

class WatchCycle final : private WatchedProcessSink {
public:
    WatchCycle(Registrations& registrations, HistoryList& history, ProcessApi& api, Clock& clock,
               const AppSettings& settings, CProcessEnumerator& enumerator);

    enum class Cause { Timer, Foreground };
    // Lists the processes of watched programs and brings each to its class.
    void Tick(Cause cause = Cause::Timer);
    WatchListing Listing() const { return m_listing.Kind(); }
    // The debug privilege was gained: processes noted as unchangeable (a service, an
    // elevated program) are opened once more by the next tick, and told once more if
    // they still refuse.
    void TryRefusedAgain();

private:
    ProgramState* WatchedProgram(const char* name) override;
    bool Settled(ProgramState& state, const ProcessKey& process, Dword priorityClass) override;
    void Watch(ProgramState& program, const ProcessKey& key, const char* name, Handle process) override;
    void Unchangeable(ProgramState& program, const ProcessKey& process, const char* name) override;
    // A read or set of the class that failed after the open.
    void Failed(ProgramState& state, const ProcessKey& process, const char* name);
    void InEfficiencyMode(const ProcessKey& process, const char* name);
    // The active class while the process owns the foreground window, else the specified one.
    Dword Wanted(const ProgramState& state, Dword processId);
    void Refused(ProgramState& state, const char* name);
    void Changed(ProgramState& state, const char* name, Dword from, Dword to);
    std::string RowName(int row) const;
    std::string RowNameOf(const char* name) const;

    // A process that was logged as unchangeable or in efficiency mode, or that did not
    // get its wish. Notes of processes that a tick of the timer no longer sees are
    // dropped at its end.
    struct ProcessNote {
        std::uint64_t seenInTick = 0;
        bool unchangeable = false;
        bool efficiencyMode = false;
        Dword wish = 0;
        Dword granted = 0;
    };
    // Writes the line (after the time and the row's name) the first time the note's
    // flag is set for the process.
    void NoteOnce(const ProcessKey& process, bool ProcessNote::*told, const char* name, Text why);
    // The note of a process, marked seen in this tick; null when there is none.
    ProcessNote* SeenNote(const ProcessKey& process);
    // What the system gave a process for a wish it did not grant, while that lasts.
    static bool AlreadyGranted(const ProcessNote* note, Dword wanted, Dword current);

    Registrations& m_registrations;
    HistoryList& m_history;
    ProcessApi& m_api;
    Clock& m_clock;
    const AppSettings& m_settings;
    WatchedProcessListing m_listing;
    SettingsApplier m_applier;
    std::string m_key;  // kept between processes: one allocation for the whole listing
    std::unordered_map<ProcessKey, ProcessNote, ProcessKeyHash> m_notes;
    std::uint64_t m_tick = 0;
    bool m_activeOnly = false;  // a tick of the foreground's
};

}  // namespace tarnwick
