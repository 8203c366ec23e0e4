#include "tests/support/memory_doubles.h"

namespace tarnwick {

void MemoryRows::Insert(int row, const std::string& watchText) {
    if (row < 0) return;
    if (row > Count()) row = Count();
    Row fresh;
    fresh.texts[kWatchColumn] = watchText;
    m_rows.insert(m_rows.begin() + row, std::move(fresh));
}

std::string MemoryRows::Text(int row, int column) const {
    if (!Valid(row) || column < 0 || column >= kColumnCount) return {};
    return m_rows[row].texts[column];
}

void MemoryRows::SetText(int row, int column, const std::string& text) {
    if (!Valid(row) || column < 0 || column >= kColumnCount) return;
    if (m_rows[row].texts[column] == text) return;
    m_rows[row].texts[column] = text;
    Report(row);
}

void MemoryRows::SetChecked(int row, bool checked) {
    if (!Valid(row) || m_rows[row].checked == checked) return;
    m_rows[row].checked = checked;
    Report(row);
}

int MemoryRows::Selected() const {
    for (int i = 0; i < Count(); ++i) {
        if (m_rows[i].selected) return i;
    }
    return -1;
}

void MemoryRows::SelectAndFocus(int row) {
    if (!Valid(row)) return;
    int previous = Selected();
    if (previous == row) return;
    if (previous >= 0) {
        m_rows[previous].selected = false;
        Report(previous);
    }
    m_rows[row].selected = true;
    Report(row);
}

void MemoryHistory::InsertLine(int index, const std::string& text) {
    if (index < 0 || index > Count()) index = Count();
    m_lines.insert(m_lines.begin() + index, text);
}

}  // namespace tarnwick
