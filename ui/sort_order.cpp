#include "ui/sort_order.h"

#include <utility>

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

SortColumn::SortColumn(std::vector<std::string> cells, SortDirection direction)
    : m_keys(std::move(cells)), m_direction(direction) {
    for (std::string& key : m_keys) key = UpperCase(key);
}

const std::string& SortColumn::Key(std::intptr_t row) const {
    static const std::string kNone;  // item data that numbers no row read before the sort
    return row >= 0 && static_cast<std::size_t>(row) < m_keys.size() ? m_keys[static_cast<std::size_t>(row)] : kNone;
}

int SortColumn::Compare(std::intptr_t a, std::intptr_t b) const {
    const std::string& first = Key(m_direction == SORT_ASCENDING ? a : b);
    const std::string& second = Key(m_direction == SORT_ASCENDING ? b : a);
    const int order = first.compare(second);  // char_traits<char> compares as unsigned char
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

}  // namespace tarnwick
