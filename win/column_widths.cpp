#include "win/column_widths.h"

#include <algorithm>

namespace tarnwick {

namespace {

// Shares `room` among the columns marked in `open`: a column that needs no more than
// its share of what is left keeps what it needs (the share of the others can then only
// grow); when none does, they share what is left by factor. Returns the room left over.
int ShareAmong(std::span<const ColumnNeed> columns, std::vector<bool> open, int room, std::vector<int>& widths) {
    for (;;) {
        long long factors = 0;
        for (std::size_t i = 0; i < columns.size(); ++i) factors += open[i] ? columns[i].factor : 0;
        if (factors == 0) return room;
        const int before = room;
        bool anySettled = false;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (!open[i] || columns[i].needed * factors > static_cast<long long>(before) * columns[i].factor) continue;
            widths[i] = columns[i].needed;
            room -= columns[i].needed;
            open[i] = false;
            anySettled = true;
        }
        if (!anySettled) {
            for (std::size_t i = 0; i < columns.size(); ++i) {
                if (open[i]) widths[i] = static_cast<int>(static_cast<long long>(room) * columns[i].factor / factors);
            }
            return 0;
        }
    }
}

}  // namespace

std::vector<int> ShareColumnWidths(std::span<const ColumnNeed> columns, int room) {
    std::vector<int> widths(columns.size(), 0);
    room = std::max(room, 0);
    int needed = 0;
    int fixedNeeded = 0;
    for (const ColumnNeed& column : columns) {
        needed += column.needed;
        fixedNeeded += column.freeText ? 0 : column.needed;
    }
    std::vector<bool> open(columns.size(), true);
    if (needed > room && fixedNeeded <= room) {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (!columns[i].freeText) widths[i] = columns[i].needed;
            open[i] = columns[i].freeText;
        }
        room -= fixedNeeded;
    }
    const int spare = ShareAmong(columns, open, room, widths);
    long long factors = 0;
    for (const ColumnNeed& column : columns) factors += column.factor;
    for (std::size_t i = 0; i < columns.size() && factors > 0; ++i) {
        widths[i] += static_cast<int>(static_cast<long long>(spare) * columns[i].factor / factors);
    }
    return widths;
}

}  // namespace tarnwick
