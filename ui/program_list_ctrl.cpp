#include "ui/program_list_ctrl.h"

#include <windowsx.h>

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
    const POINT at{GET_X_LPARAM(event.lParam), GET_Y_LPARAM(event.lParam)};
    HWND owner = AfxGetApp() && AfxGetApp()->m_pMainWnd ? AfxGetApp()->m_pMainWnd->GetSafeHwnd() : GetParent(m_hWnd);
    CMenu menu(IDR_POPUP);
    menu.TrackPopup(PriorityMenuPosition(m_version), TPM_LEFTALIGN | TPM_RIGHTBUTTON, at, owner);
    return TRUE;
}

}  // namespace tarnwick
