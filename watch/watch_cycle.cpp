#include "watch/watch_cycle.h"

namespace tarnwick {

WatchCycle::WatchCycle(Registrations& registrations, HistoryList& history, ProcessApi& api, Clock& clock,
                       const AppSettings& settings, CProcessEnumerator& enumerator)
    : m_registrations(registrations),
      m_history(history),
      m_api(api),
      m_clock(clock),
      m_settings(settings),
      m_listing(api, enumerator) {}

void WatchCycle::Tick() { m_listing.List(*this); }

ProgramState* WatchCycle::WatchedProgram(const char* name) {
    MakeKeyInto(name, m_key);
    ProgramState* state = m_registrations.Programs().Find(m_key);
    return state && state->watched ? state : nullptr;
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
    Dword wanted = static_cast<Dword>(state.specifiedClass);
    if (state.activeClass != 0 && m_api.ForegroundProcessId() == processId) {
        wanted = static_cast<Dword>(state.activeClass);
    }
    if (wanted == current) return;
    if (!m_api.SetPriorityClass(process, wanted)) {
        Refused(state, name);
        return;
    }
    state.runCount += 1;
    state.retriesLeft = -1;
    ProgramRows& rows = m_registrations.Rows();
    const int row = m_registrations.RowOf(MakeKey(name));
    rows.SetText(row, kRunCountColumn, std::to_string(state.runCount));
    AddHistoryLine(m_history, TimeStamp(m_clock) + " " + PriorityName(current) + " → " + PriorityName(wanted) + " " +
                                  RowName(row));
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

}  // namespace tarnwick
