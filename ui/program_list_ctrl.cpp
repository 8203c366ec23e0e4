#include "ui/program_list_ctrl.h"

#include <windowsx.h>

#include <vector>

#include "res/resource.h"
#include "win/app.h"
#include "win/dialog.h"

namespace tarnwick {

const MapEntry<CProgramListCtrl> CProgramListCtrl::kMessageMap[] = {
    {Route::Message, WM_CONTEXTMENU, 0, &CProgramListCtrl::OnContextMenu},
};

bool CProgramListCtrl::OnReflected(const MessageEvent& event, std::intptr_t& result) {
    return Dispatch<CProgramListCtrl>(*this, kMessageMap, event, result) || CSortListCtrl::OnReflected(event, result);
}

std::intptr_t CProgramListCtrl::OnContextMenu(const MessageEvent& event) {
    if (GetSelected() < 0) return TRUE;  // no row, no menu
    POINT at{GET_X_LPARAM(event.lParam), GET_Y_LPARAM(event.lParam)};
    if (at.x == -1 && at.y == -1) at = SelectedRowMenuPoint();  // Shift+F10 or the menu key
    HWND owner = AfxGetApp() && AfxGetApp()->m_pMainWnd ? AfxGetApp()->m_pMainWnd->GetSafeHwnd() : GetParent(m_hWnd);
    std::vector<unsigned> marked;
    if (m_rows) {
        const RowPriorities now = m_rows->Priorities(GetSelected());
        for (const PriorityCommand& command : PriorityCommands()) {
            if (QuickCommandMarked(command, now.specified, now.active)) marked.push_back(command.id);
        }
    }
    CMenu menu(IDR_POPUP);
    menu.TrackPopup(PriorityMenuPosition(m_version), TPM_LEFTALIGN | TPM_RIGHTBUTTON, at, owner, marked);
    return TRUE;
}

POINT CProgramListCtrl::SelectedRowMenuPoint() const {
    const int row = GetSelected();
    Send(LVM_ENSUREVISIBLE, row, FALSE);
    RECT label{LVIR_LABEL, 0, 0, 0};
    Send(LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&label));
    POINT at{label.left, label.bottom};  // below the row, as Explorer places it
    ClientToScreen(m_hWnd, &at);
    return at;
}

}  // namespace tarnwick
