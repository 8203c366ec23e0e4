#include "ui/sort_list_ctrl.h"

#include <commctrl.h>

namespace tarnwick {

namespace {
// The list being sorted: the comparison receives only item data and the column.
// Valid during one sort, which runs to its end inside the click handler.
CSortListCtrl* s_sorting = nullptr;
}  // namespace

const MapEntry<CSortListCtrl> CSortListCtrl::kMessageMap[] = {
    {Route::Reflected, 0, static_cast<unsigned>(LVN_COLUMNCLICK), &CSortListCtrl::OnColumnClick},
};

bool CSortListCtrl::OnReflected(const MessageEvent& event, std::intptr_t& result) {
    return Dispatch<CSortListCtrl>(*this, kMessageMap, event, result);
}

std::intptr_t CSortListCtrl::OnColumnClick(const MessageEvent& event) {
    const auto* click = reinterpret_cast<const NMLISTVIEW*>(event.lParam);
    m_directions.Prepare(GetHeaderColumnCount());
    // The item data is the sort handle: each row's number from before the sort.
    const int rows = GetItemCount();
    for (int row = 0; row < rows; ++row) SetItemData(row, row);
    m_directions.Flip(click->iSubItem);
    s_sorting = this;
    SortItems(&CSortListCtrl::Compare, click->iSubItem);
    s_sorting = nullptr;
    return 0;
}

int CALLBACK CSortListCtrl::Compare(LPARAM a, LPARAM b, LPARAM column) {
    CSortListCtrl& list = *s_sorting;
    const int k = static_cast<int>(column);
    return CompareCells(list.GetItemText(list.FindItemByData(a), k), list.GetItemText(list.FindItemByData(b), k),
                        list.m_directions.Of(k));
}

}  // namespace tarnwick
