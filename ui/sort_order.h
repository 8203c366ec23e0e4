// How a sortable list orders its rows: each column remembers the direction in
// which it was last sorted, and cells compare as upper-cased code page 932 bytes.
// No window is needed, so the native tests check it.
#pragma once

#include <cstdint>
#include <string>
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

private:
    bool m_ready = false;
    std::vector<SortDirection> m_directions;
};

// The sorted column's cells, read before the sort and numbered as the rows' item
// data number them. While a list sorts its contents are unstable, so the
// comparison reads this table and never the list.
class SortColumn {
public:
    SortColumn(std::vector<std::string> cells, SortDirection direction);
    // -1, 0 or 1 for the rows numbered a and b: byte by byte, unsigned, after
    // multibyte-aware upper-casing; a text that is a prefix of the other comes
    // first. Descending swaps the two texts.
    int Compare(std::intptr_t a, std::intptr_t b) const;

private:
    const std::string& Key(std::intptr_t row) const;

    std::vector<std::string> m_keys;  // upper-cased once, not at every comparison
    SortDirection m_direction;
};

}  // namespace tarnwick
