// The dialog base class of the thin framework. One dialog procedure serves every
// dialog: it takes `this` from WM_INITDIALOG, keeps it in the window, unpacks each
// message into a MessageEvent, offers it to the bound control it concerns
// (reflection) and then hands it to the class's message map (Dispatch);
// WM_NOTIFY results go back through DWLP_MSGRESULT. IDOK and IDCANCEL reach OnOK and
// OnCancel unless the map takes them; a DPI change reaches OnDpiSettled after the
// dialog manager's own handling. Nothing thrown in a handler escapes into the
// system's loop.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "win/message_map.h"
#include "win/controls.h"
#include "win/window.h"

namespace tarnwick {

class CDialog {
public:
    CDialog(unsigned templateId, HWND parent);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // The system's modal run: the dialog shows itself.
    INT_PTR DoModal();
    // A modal run that shows the dialog only when its initialisation made it
    // visible; used for the main window, which usually lives hidden.
    INT_PTR DoModalHidden();
    void EndDialog(INT_PTR result);
    // Creates the dialog as a child window of `parent` (a page inside a tab
    // control), not shown; it lives until its parent or this object goes.
    bool CreateChild(HWND parent);

    HWND GetSafeHwnd() const { return m_hWnd; }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }

protected:
    // Binds the dialog's controls to their wrappers (DDX_Control); runs first in OnInitDialog.
    virtual void DoDataExchange() {}
    // Attaches the wrapper to control `id` and lets it take its own notifications.
    void DDX_Control(int id, CWnd& control);
    // Moves the focus to a control as the dialog manager does (Tab order kept).
    void GotoDlgCtrl(CWnd& control);
    virtual BOOL OnInitDialog();
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // After a DPI change (per-monitor DPI), once the dialog manager has given the
    // controls their new places and fonts: what the dialog measures itself, such as
    // list columns or pages nested in a control, is measured again here.
    virtual void OnDpiSettled() {}
    // The class's message map; true when a handler took the message.
    virtual bool Dispatch(const MessageEvent& event, std::intptr_t& result);

    HWND m_hWnd = nullptr;
    HWND m_parent = nullptr;

private:
    // Posted at WM_DPICHANGED, so that OnDpiSettled runs after the dialog manager.
    static constexpr UINT kDpiSettled = WM_APP + 0x40;

    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void RunModalLoop(bool showWhenIdle);

    unsigned m_templateId;
    std::vector<ControlBinding> m_controls;
    bool m_modeless = false;  // created by DoModalHidden: ended by our own loop
    bool m_ended = false;
    INT_PTR m_result = -1;
};

}  // namespace tarnwick
