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
      m_listing(api, enumerator) {}

void WatchCycle::Tick(Cause cause) {
    // A tick may run inside another (a message box's loop): each keeps its own number,
    // and a note seen by the inner tick is newer than the outer one's.
    const std::uint64_t tick = ++m_tick;
    const bool outerActiveOnly = std::exchange(m_activeOnly, cause == Cause::Foreground);
    m_listing.List(*this);
    m_activeOnly = outerActiveOnly;
    std::erase_if(m_notes, [tick](const auto& note) { return note.second.seenInTick < tick; });
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

bool WatchCycle::Settled(ProgramState& state, Dword processId, Dword priorityClass) {
    if (priorityClass == 0) return false;
    const Dword wanted = Wanted(state, processId);
    return wanted == priorityClass || AlreadyGranted(processId, wanted, priorityClass);
}

void WatchCycle::Watch(ProgramState& state, Dword processId, const char* name, Handle process) {
    if (!process) {
        Refused(state, name);
        return;
    }
    const Dword current = m_api.GetPriorityClass(process);
    if (current == 0) {
        Refused(state, name);
        return;
    }
    const Dword wanted = Wanted(state, processId);
    if (wanted == current || AlreadyGranted(processId, wanted, current)) return;
    if (!m_api.SetPriorityClass(process, wanted)) {
        Refused(state, name);
        return;
    }
    // The set may succeed with another class than asked for: read back what it gave.
    Dword granted = m_api.GetPriorityClass(process);
    if (granted == 0) granted = wanted;
    state.retriesLeft = -1;
    if (granted != current) Changed(state, name, current, granted);
    if (granted != wanted) {
        m_notes[processId] = {m_tick, false, wanted, granted};
        AddHistoryLine(m_history, TimeStamp(m_clock) + " " + RowNameOf(name) + " に" + PriorityName(wanted) +
                                      "は許可されず、" + PriorityName(granted) + "になりました。");
    }
}

bool WatchCycle::AlreadyGranted(Dword processId, Dword wanted, Dword current) {
    auto note = m_notes.find(processId);
    if (note == m_notes.end()) return false;
    note->second.seenInTick = m_tick;
    return note->second.wish == wanted && note->second.granted == current;
}

void WatchCycle::Unchangeable(ProgramState&, Dword processId, const char* name) {
    ProcessNote& note = m_notes[processId];
    note.seenInTick = m_tick;
    if (note.unchangeable) return;
    note.unchangeable = true;
    // No retry is spent and the program stays watched: another copy may be changeable.
    AddHistoryLine(m_history, TimeStamp(m_clock) + " " + RowNameOf(name) +
                                  " は Tarnwick より高い権限で実行されているため、優先度を変更できません。");
}

void WatchCycle::Changed(ProgramState& state, const char* name, Dword from, Dword to) {
    state.runCount += 1;
    const int row = m_registrations.RowOf(MakeKey(name));
    m_registrations.Rows().SetText(row, kRunCountColumn, std::to_string(state.runCount));
    AddHistoryLine(m_history,
                   TimeStamp(m_clock) + " " + PriorityName(from) + " → " + PriorityName(to) + " " + RowName(row));
}

void WatchCycle::Refused(ProgramState& state, const char* name) {
    const std::string stamp = TimeStamp(m_clock);
    const int row = m_registrations.RowOf(MakeKey(name));
    if (state.retriesLeft < 0) state.retriesLeft = m_settings.m_retryCount;
    std::string line;
    if (state.retriesLeft >= 1) {
        state.retriesLeft -= 1;
        line = stamp + " " + RowName(row) + " にアクセス拒否されました。リトライします。";
    } else {
        // Clearing the check box runs the window's change reaction at once: the row
        // reads "しない", the entry is unwatched and, with auto-save, the file written.
        m_registrations.Rows().SetChecked(row, false);
        line = stamp + " " + RowName(row) + " にアクセス拒否されたため監視をはずしました。";
    }
    AddHistoryLine(m_history, line);
}

std::string WatchCycle::RowName(int row) const { return m_registrations.Rows().Text(row, kNameColumn); }

std::string WatchCycle::RowNameOf(const char* name) const { return RowName(m_registrations.RowOf(MakeKey(name))); }

}  // namespace tarnwick
