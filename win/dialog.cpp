#include "win/dialog.h"

#include "win/resources.h"

namespace tarnwick {

CDialog::CDialog(unsigned templateId, HWND parent) : m_parent(parent), m_templateId(templateId) {}

CDialog::~CDialog() {
    if (m_hWnd && IsWindow(m_hWnd)) DestroyWindow(m_hWnd);
}

INT_PTR CDialog::DoModal() {
    m_modeless = false;
    m_ended = false;
    return DialogBoxIndirectParamW(ModuleInstance(), DialogTemplate(m_templateId), m_parent, DialogProc,
                                   reinterpret_cast<LPARAM>(this));
}

INT_PTR CDialog::DoModalHidden() {
    const DLGTEMPLATE* layout = DialogTemplate(m_templateId);
    if (!layout) return -1;
    const bool parentWasEnabled = m_parent && IsWindowEnabled(m_parent);
    if (parentWasEnabled) EnableWindow(m_parent, FALSE);
    m_modeless = true;
    m_ended = false;
    m_result = -1;
    HWND window = CreateDialogIndirectParamW(ModuleInstance(), layout, m_parent, DialogProc,
                                             reinterpret_cast<LPARAM>(this));
    if (window && !m_ended) {
        // The style is read after initialisation: the window shows only if it made itself visible.
        const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
        RunModalLoop((style & WS_VISIBLE) != 0);
        if (IsWindow(window)) {
            SetWindowPos(window, nullptr, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
        }
    }
    if (parentWasEnabled) {
        EnableWindow(m_parent, TRUE);
        if (GetActiveWindow() == window) SetActiveWindow(m_parent);
    }
    if (window && IsWindow(window)) DestroyWindow(window);
    m_hWnd = nullptr;
    return m_result;
}

void CDialog::RunModalLoop(bool showWhenIdle) {
    bool shown = !showWhenIdle;
    MSG message;
    while (!m_ended) {
        if (!shown && !PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            ShowWindow(m_hWnd, SW_SHOWNORMAL);  // first idle moment
            shown = true;
        }
        BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam));  // leave WM_QUIT for the caller
            break;
        }
        if (got < 0) break;
        if (m_hWnd && IsDialogMessageW(m_hWnd, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool CDialog::CreateChild(HWND parent) {
    m_parent = parent;
    return CreateDialogIndirectParamW(ModuleInstance(), DialogTemplate(m_templateId), parent, DialogProc,
                                      reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialog::EndDialog(INT_PTR result) {
    m_result = result;
    m_ended = true;
    if (m_modeless) {
        PostMessageW(m_hWnd, WM_NULL, 0, 0);  // wake the loop
    } else if (m_hWnd) {
        ::EndDialog(m_hWnd, result);
    }
}

BOOL CDialog::OnInitDialog() {
    m_controls.clear();
    DoDataExchange();
    return TRUE;
}

void CDialog::DDX_Control(int id, CWnd& control) {
    HWND window = GetDlgItem(id);
    control.Attach(window);
    m_controls.push_back({static_cast<unsigned>(id), reinterpret_cast<std::uintptr_t>(window), &control});
}

void CDialog::GotoDlgCtrl(CWnd& control) {
    SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control.GetSafeHwnd()), TRUE);
}

bool CDialog::Dispatch(const MessageEvent&, std::intptr_t&) { return false; }

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        self->m_hWnd = window;
        SetWindowLongPtrW(window, DWLP_USER, lParam);
    } else {
        self = reinterpret_cast<CDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    }
    if (!self) return FALSE;
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        return FALSE;
    }
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) return OnInitDialog();
    if (message == WM_DPICHANGED) PostMessageW(m_hWnd, kDpiSettled, 0, 0);
    if (message == kDpiSettled) {
        OnDpiSettled();
        return TRUE;
    }
    const MessageEvent event = UnpackMessage(message, wParam, static_cast<std::intptr_t>(lParam));
    std::intptr_t result = 0;
    if (ReflectToControl(m_controls, event, result) || Dispatch(event, result)) {
        if (message == WM_NOTIFY) {
            SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
            return TRUE;
        }
        return static_cast<INT_PTR>(result);
    }
    if (message == WM_COMMAND && event.code == BN_CLICKED) {
        if (event.id == IDOK) {
            OnOK();
            return TRUE;
        }
        if (event.id == IDCANCEL) {
            OnCancel();
            return TRUE;
        }
    }
    if (message == WM_NCDESTROY) m_hWnd = nullptr;
    return FALSE;
}

}  // namespace tarnwick
