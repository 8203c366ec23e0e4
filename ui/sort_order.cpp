#include "ui/sort_order.h"

#include <string>

#include "core/mbcs.h"

namespace tarnwick {

void SortDirections::Prepare(int columnCount) {
    if (m_ready) return;
    m_directions.assign(columnCount > 0 ? static_cast<std::size_t>(columnCount) : 0, SORT_ASCENDING);
    m_ready = true;
}

SortDirection SortDirections::Flip(int column) {
    if (column < 0) return SORT_ASCENDING;
    // A column added after the first click still gets a direction of its own.
    if (static_cast<std::size_t>(column) >= m_directions.size()) {
        m_directions.resize(static_cast<std::size_t>(column) + 1, SORT_ASCENDING);
    }
    SortDirection& direction = m_directions[static_cast<std::size_t>(column)];
    direction = direction == SORT_ASCENDING ? SORT_DESCENDING : SORT_ASCENDING;
    return direction;
}

SortDirection SortDirections::Of(int column) const {
    if (column < 0 || static_cast<std::size_t>(column) >= m_directions.size()) return SORT_ASCENDING;
    return m_directions[static_cast<std::size_t>(column)];
}

int CompareCells(std::string_view a, std::string_view b, SortDirection direction) {
    const std::string upperA = UpperCase(a);
    const std::string upperB = UpperCase(b);
    const std::string& first = direction == SORT_ASCENDING ? upperA : upperB;
    const std::string& second = direction == SORT_ASCENDING ? upperB : upperA;
    const int order = first.compare(second);  // char_traits<char> compares as unsigned char
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

}  // namespace tarnwick
