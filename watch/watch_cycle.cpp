#include "watch/watch_cycle.h"

namespace tarnwick {

WatchCycle::WatchCycle(Registrations& registrations, HistoryList& history, ProcessApi& api, Clock& clock,
                       const AppSettings& settings)
    : m_registrations(registrations), m_history(history), m_api(api), m_clock(clock), m_settings(settings) {}

void WatchCycle::Tick(CProcessEnumerator& enumerator) { enumerator.EnumBaseNames(&WatchCycle::WatchProcess, this); }

WinBool WatchCycle::WatchProcess(Dword processId, Dword task, const char* name, void* cycle) {
    return static_cast<WatchCycle*>(cycle)->WatchProcess(processId, task, name);
}

WinBool WatchCycle::WatchProcess(Dword processId, Dword /*task*/, const char* name) {
    if (!name || !*name) return 1;
    const std::string key = MakeKey(name);
    ProgramState* state = m_registrations.Programs().Find(key);
    if (!state || !state->watched) return 1;

    Dword wanted = static_cast<Dword>(state->specifiedClass);
    Handle process = m_api.OpenProcess(kProcessAllAccess, processId);
    if (!process) {
        Refused(*state, key);
        return 1;
    }
    const Dword current = m_api.GetPriorityClass(process);
    if (current == 0) {
        m_api.CloseHandle(process);
        Refused(*state, key);
        return 1;
    }
    if (state->activeClass != 0 && m_api.ForegroundProcessId() == processId) {
        wanted = static_cast<Dword>(state->activeClass);
    }
    if (wanted == current) {
        m_api.CloseHandle(process);
        return 1;
    }
    if (!m_api.SetPriorityClass(process, wanted)) {
        m_api.CloseHandle(process);
        Refused(*state, key);
        return 1;
    }
    state->runCount += 1;
    state->retriesLeft = -1;
    ProgramRows& rows = m_registrations.Rows();
    const int row = m_registrations.RowOf(key);
    rows.SetText(row, kRunCountColumn, std::to_string(state->runCount));
    AddHistoryLine(m_history, TimeStamp(m_clock) + " " + PriorityName(current) + " → " + PriorityName(wanted) + " " +
                                  RowName(row));
    m_api.CloseHandle(process);
    return 1;
}

void WatchCycle::Refused(ProgramState& state, const std::string& key) {
    const std::string stamp = TimeStamp(m_clock);
    const int row = m_registrations.RowOf(key);
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
