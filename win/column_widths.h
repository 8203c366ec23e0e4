// How a report list shares its width among its columns, apart from the list itself.
// Each column first gets the width it needs to show its heading and its longest value
// uncut, as far as the room goes; what is left over goes by the columns' factors, so
// that the list fills its width and needs no horizontal scroll bar. When the room is
// short, the columns that need less than their share keep what they need and the
// others share the rest by their factors.
#pragma once

#include <span>
#include <vector>

namespace tarnwick {

struct ColumnNeed {
    int factor;  // its share of the room, against the other columns' factors; above 0
    int needed;  // the width that shows its heading and values uncut
};

std::vector<int> ShareColumnWidths(std::span<const ColumnNeed> columns, int room);

}  // namespace tarnwick
