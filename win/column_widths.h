// How a report list shares its width among its columns, apart from the list itself.
// Each column first gets the width it needs to show its heading and its longest value
// uncut, as far as the room goes; what is left over goes by the columns' factors, so
// that the list fills its width and needs no horizontal scroll bar. When the room is
// short, the columns of values from a fixed set (a priority, a count) stay whole and
// the columns of free text (a name, a description) share the rest: among those, one
// that needs less than its share keeps what it needs and the others share by factor.
#pragma once

#include <span>
#include <vector>

namespace tarnwick {

struct ColumnNeed {
    int factor;    // its share of the room, against the other columns' factors; above 0
    int needed;    // the width that shows its heading and values uncut
    bool freeText; // gives way first when the room is short
};

std::vector<int> ShareColumnWidths(std::span<const ColumnNeed> columns, int room);

}  // namespace tarnwick
