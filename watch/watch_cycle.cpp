#include "watch/watch_cycle.h"

#include <iterator>
#include <utility>

namespace tarnwick {

WatchCycle::WatchCycle(Registrations& registrations, HistoryList& history, ProcessApi& api, Clock& clock,
                       const AppSettings& settings, CProcessEnumerator& enumerator)
    : m_registrations(registrations),
      m_history(history),
      m_api(api),
      m_clock(clock),
      m_settings(settings),
      m_listing(api, enumerator),
      m_applier(api, history, clock) {}

void WatchCycle::Tick(Cause cause) {
    // A tick may run inside another (a message box's loop): each keeps its own number,
    // and a note seen by the inner tick is newer than the outer one's.
    const std::uint64_t tick = ++m_tick;
    const bool outerActiveOnly = std::exchange(m_activeOnly, cause == Cause::Foreground);
    const Registrations::RowsInUse inUse(m_registrations);
    m_listing.List(*this);
    m_activeOnly = outerActiveOnly;
    // A tick of the foreground visits only the programs with an active priority: the
    // notes of the others must outlive it, or their one-time lines would come again on
    // every switch of windows.
    if (cause == Cause::Timer) {
        std::erase_if(m_notes, [tick](const auto& note) { return note.second.seenInTick < tick; });
        m_applier.ForgetUnseenSince(tick);
    }
}

void WatchCycle::TryRefusedAgain() {
    for (auto& note : m_notes) note.second.unchangeable = false;
}

ProgramState* WatchCycle::WatchedProgram(const char* name) {
    // A process without a name never matches a row whose name is empty (an empty
    // save file makes one).
    if (!*name) return nullptr;
    MakeKeyInto(name, m_key);
    ProgramState* state = m_registrations.Programs().Find(m_key);
    return state && state->watched && (!m_activeOnly || state->activeClass != 0) ? state : nullptr;
}

Dword WatchCycle::Wanted(const ProgramState& state, Dword processId) {
    if (state.activeClass != 0 && m_api.ForegroundProcessId() == processId) return static_cast<Dword>(state.activeClass);
    return static_cast<Dword>(state.specifiedClass);
}

bool WatchCycle::Settled(ProgramState& state, const ProcessKey& process, Dword priorityClass) {
    const ProcessNote* note = SeenNote(process);
    // Opening a process again and again that refuses the change is what anti-cheat
    // watches for: one known unchangeable is left alone while it runs. Only a creation
    // time tells it from a later process of the same id.
    if (note && note->unchangeable && process.created != 0) return true;
    // m_key is the key of this process's program: WatchedProgram has just found it.
    if (m_applier.Pending(process, m_registrations.MoreSettings().Find(m_key), m_tick)) return false;
    if (priorityClass == 0) return false;
    const Dword wanted = Wanted(state, process.id);
    return wanted == priorityClass || AlreadyGranted(note, wanted, priorityClass);
}

void WatchCycle::Watch(ProgramState& state, const ProcessKey& key, const char* name, Handle process) {
    if (!process) {
        Refused(state, name);
        return;
    }
    // In the same open as the class, before it: efficiency mode switched off lets the
    // class be set.
    // m_key is still this process's program key: nothing has run since WatchedProgram.
    const ProgramSettings* more = m_registrations.MoreSettings().Find(m_key);
    if (m_applier.Pending(key, more, m_tick)) m_applier.Apply(process, key, *more, RowNameOf(name));
    const Dword current = m_api.GetPriorityClass(process);
    if (current == 0) {
        Failed(state, key, name);
        return;
    }
    const Dword wanted = Wanted(state, key.id);
    if (wanted == current || AlreadyGranted(SeenNote(key), wanted, current)) return;
    // Windows and browsers lower a process in efficiency mode on purpose (background
    // tabs): raising it again would undo that on every tick. Not where the registration
    // itself decides efficiency mode.
    const bool efficiencyDecided = more && more->efficiency != EfficiencyMode::LeftToWindows;
    if (!efficiencyDecided && m_api.InEfficiencyMode(process)) {
        InEfficiencyMode(key, name);
        return;
    }
    if (!m_api.SetPriorityClass(process, wanted)) {
        Failed(state, key, name);
        return;
    }
    // The set may succeed with another class than asked for: read back what it gave.
    Dword granted = m_api.GetPriorityClass(process);
    if (granted == 0) granted = wanted;
    state.retriesLeft = -1;
    if (granted != current) Changed(state, name, current, granted);
    if (granted != wanted) {
        m_notes[key] = {m_tick, false, false, wanted, granted};
        AddHistoryLine(m_history, TextWith(Text::HistoryNotGranted, {TimeStamp(m_clock), RowNameOf(name),
                                                                     PriorityName(wanted), PriorityName(granted)}));
    }
}

WatchCycle::ProcessNote* WatchCycle::SeenNote(const ProcessKey& process) {
    auto note = m_notes.find(process);
    if (note == m_notes.end()) return nullptr;
    note->second.seenInTick = m_tick;
    return &note->second;
}

bool WatchCycle::AlreadyGranted(const ProcessNote* note, Dword wanted, Dword current) {
    return note && note->wish == wanted && note->granted == current;
}

void WatchCycle::Failed(ProgramState& state, const ProcessKey& process, const char* name) {
    // Denied on a handle that opened: anti-cheat drivers strip the rights of handles to
    // their game's process. No retry would change that.
    if (m_api.LastCallWasDenied()) {
        Unchangeable(state, process, name);
    } else {
        Refused(state, name);
    }
}

void WatchCycle::Unchangeable(ProgramState&, const ProcessKey& process, const char* name) {
    // No retry is spent and the program stays watched: another copy may be changeable.
    NoteOnce(process, &ProcessNote::unchangeable, name, Text::HistoryHigherRights);
}

void WatchCycle::InEfficiencyMode(const ProcessKey& process, const char* name) {
    NoteOnce(process, &ProcessNote::efficiencyMode, name, Text::HistoryEfficiencyMode);
}

void WatchCycle::NoteOnce(const ProcessKey& process, bool ProcessNote::*told, const char* name, Text why) {
    ProcessNote& note = m_notes[process];
    note.seenInTick = m_tick;
    if (std::exchange(note.*told, true)) return;
    AddHistoryLine(m_history, TextWith(why, {TimeStamp(m_clock), RowNameOf(name)}));
}

void WatchCycle::Changed(ProgramState& state, const char* name, Dword from, Dword to) {
    state.runCount += 1;
    const int row = m_registrations.RowOf(MakeKey(name));
    m_registrations.Rows().SetText(row, kRunCountColumn, std::to_string(state.runCount));
    AddHistoryLine(m_history,
                   TextWith(Text::HistoryChanged, {TimeStamp(m_clock), RowName(row), PriorityName(from), PriorityName(to)}));
}

void WatchCycle::Refused(ProgramState& state, const char* name) {
    const std::string stamp = TimeStamp(m_clock);
    const int row = m_registrations.RowOf(MakeKey(name));
    if (state.retriesLeft < 0) state.retriesLeft = m_settings.m_retryCount;
    Text line = Text::HistoryRefusedRetrying;
    if (state.retriesLeft >= 1) {
        state.retriesLeft -= 1;
    } else {
        // Clearing the check box runs the window's change reaction at once: the row
        // reads "しない", the entry is unwatched and, with auto-save, the file written.
        m_registrations.Rows().SetChecked(row, false);
        line = Text::HistoryRefusedUnwatched;
    }
    AddHistoryLine(m_history, TextWith(line, {stamp, RowName(row)}));
}

std::string WatchCycle::RowName(int row) const { return m_registrations.Rows().Text(row, kNameColumn); }

std::string WatchCycle::RowNameOf(const char* name) const { return RowName(m_registrations.RowOf(MakeKey(name))); }

}  // namespace tarnwick
