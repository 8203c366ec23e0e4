#include "win/column_widths.h"

#include <algorithm>

namespace tarnwick {

std::vector<int> ShareColumnWidths(std::span<const ColumnNeed> columns, int room) {
    std::vector<int> widths(columns.size(), 0);
    std::vector<bool> settled(columns.size(), false);
    int left = std::max(room, 0);
    for (;;) {
        int factors = 0;
        for (std::size_t i = 0; i < columns.size(); ++i) factors += settled[i] ? 0 : columns[i].factor;
        if (factors == 0) break;
        // A column that needs no more than its share of what is left keeps what it needs;
        // the share of the others can then only grow.
        const int before = left;
        bool anySettled = false;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (settled[i] || static_cast<long long>(columns[i].needed) * factors >
                                  static_cast<long long>(before) * columns[i].factor) {
                continue;
            }
            widths[i] = columns[i].needed;
            left -= columns[i].needed;
            settled[i] = anySettled = true;
        }
        if (!anySettled) {  // none fits in its share: the rest share what is left
            for (std::size_t i = 0; i < columns.size(); ++i) {
                if (!settled[i]) widths[i] = static_cast<int>(static_cast<long long>(left) * columns[i].factor / factors);
            }
            return widths;
        }
    }
    int factors = 0;
    for (const ColumnNeed& column : columns) factors += column.factor;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        widths[i] += static_cast<int>(static_cast<long long>(left) * columns[i].factor / factors);
    }
    return widths;
}

}  // namespace tarnwick
