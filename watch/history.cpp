#include "watch/history.h"

namespace tarnwick {

void AddHistoryLine(HistoryList& history, const std::string& text) {
    if (history.Count() > kHistoryLimit) history.DeleteLine(kHistoryLimit);
    history.InsertLine(0, text);
}

void MemoryHistory::DeleteLine(int index) {
    if (index >= 0 && index < Count()) m_lines.erase(m_lines.begin() + index);
}

void MemoryHistory::InsertLine(int index, const std::string& text) {
    if (index < 0 || index > Count()) index = Count();
    m_lines.insert(m_lines.begin() + index, text);
}

}  // namespace tarnwick
