// The monitor window's registration list: a sortable list whose context menu
// offers the quick priority commands for the selected row. The menu's commands
// go to the application's main window, which carries them out.
#pragma once

#include "core/priority.h"
#include "core/program_rows.h"
#include "ui/sort_list_ctrl.h"

namespace tarnwick {

class CProgramListCtrl final : public CSortListCtrl {
public:
    explicit CProgramListCtrl(const OsVersion& version) : m_version(version) {}
    bool OnReflected(const MessageEvent& event, std::intptr_t& result) override;
    // The rows whose priorities the menu marks.
    void MarkPrioritiesOf(const ProgramRows& rows) { m_rows = &rows; }

private:
    static const MapEntry<CProgramListCtrl> kMessageMap[];
    // The point is in screen coordinates; (-1, -1) when asked for from the keyboard.
    std::intptr_t OnContextMenu(const MessageEvent& event);
    // Where a menu asked for from the keyboard opens: at the selected row, in screen coordinates.
    POINT SelectedRowMenuPoint() const;

    const OsVersion& m_version;
    const ProgramRows* m_rows = nullptr;
};

}  // namespace tarnwick
