#include "ui/sort_list_ctrl.h"

#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

namespace tarnwick {

const MapEntry<CSortListCtrl> CSortListCtrl::kMessageMap[] = {
    {Route::Reflected, 0, static_cast<unsigned>(LVN_COLUMNCLICK), &CSortListCtrl::OnColumnClick},
};

bool CSortListCtrl::OnReflected(const MessageEvent& event, std::intptr_t& result) {
    return Dispatch<CSortListCtrl>(*this, kMessageMap, event, result);
}

std::intptr_t CSortListCtrl::OnColumnClick(const MessageEvent& event) {
    const int column = reinterpret_cast<const NMLISTVIEW*>(event.lParam)->iSubItem;
    m_directions.Prepare(GetHeaderColumnCount());
    // The item data is the sort handle: each row's number from before the sort,
    // which numbers the column's cells read here. The items' own data is given back
    // afterwards, by those numbers.
    const int rows = GetItemCount();
    std::vector<std::string> cells;
    std::vector<LPARAM> data;
    cells.reserve(static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row) {
        data.push_back(GetItemData(row));
        SetItemData(row, row);
        cells.push_back(GetItemText(row, column));
    }
    const SortColumn table(std::move(cells), m_directions.Flip(column));
    SortItems(&CSortListCtrl::Compare, reinterpret_cast<LPARAM>(&table));
    for (int row = 0; row < rows; ++row) SetItemData(row, data[static_cast<std::size_t>(GetItemData(row))]);
    return 0;
}

int CALLBACK CSortListCtrl::Compare(LPARAM a, LPARAM b, LPARAM table) {
    return reinterpret_cast<const SortColumn*>(table)->Compare(a, b);
}

}  // namespace tarnwick
