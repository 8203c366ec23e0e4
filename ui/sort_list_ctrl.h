// A report-view list that sorts itself by a column's text when the user clicks
// the column's header; each click on a column flips its direction, the first
// sorting descending. The header click reaches the list itself, reflected by its
// dialog (see win/message_map.h), so no parent handles it.
#pragma once

#include "ui/sort_order.h"
#include "win/controls.h"

namespace tarnwick {

class CSortListCtrl : public CListCtrl {
public:
    bool OnReflected(const MessageEvent& event, std::intptr_t& result) override;

protected:
    std::intptr_t OnColumnClick(const MessageEvent& event);

private:
    static const MapEntry<CSortListCtrl> kMessageMap[];
    // Compares from the SortColumn that `table` points to; the list is not asked.
    static int CALLBACK Compare(LPARAM a, LPARAM b, LPARAM table);

    SortDirections m_directions;  // this list's own, created on its first header click
};

}  // namespace tarnwick
