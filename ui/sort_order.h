// How a sortable list orders its rows: each column remembers the direction in
// which it was last sorted, and cells compare as upper-cased code page 932 bytes.
// No window is needed, so the native tests check it.
#pragma once

#include <string_view>
#include <vector>

namespace tarnwick {

enum SortDirection : int { SORT_ASCENDING = 1, SORT_DESCENDING = 2 };

class SortDirections {
public:
    // Created on a list's first header click, one per header column, all ascending.
    void Prepare(int columnCount);
    bool Ready() const { return m_ready; }
    // Flips the column's direction and returns the new one: the first click on a
    // column sorts it descending.
    SortDirection Flip(int column);
    SortDirection Of(int column) const;

private:
    bool m_ready = false;
    std::vector<SortDirection> m_directions;
};

// -1, 0 or 1: byte by byte, unsigned, after multibyte-aware upper-casing; a text
// that is a prefix of the other comes first. Descending swaps the two texts.
int CompareCells(std::string_view a, std::string_view b, SortDirection direction);

}  // namespace tarnwick
