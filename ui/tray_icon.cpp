#include "ui/tray_icon.h"

#include <shellapi.h>

#include "res/resource.h"
#include "win/controls.h"
#include "win/resources.h"
#include "win/window.h"

namespace tarnwick {

namespace {
NOTIFYICONDATAW IconData(HWND window, UINT flags) {
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = window;
    data.uID = IDI_TRAY;
    data.uFlags = flags;
    return data;
}
}  // namespace

CTrayIcon::~CTrayIcon() {
    if (m_icon) DestroyIcon(m_icon);
}

void CTrayIcon::LoadIcon() {
    const UINT taskbarDpi = DpiOf(FindWindowW(L"Shell_TrayWnd", nullptr));
    const HICON old = m_icon;
    m_icon = LoadIconSized(IDI_TRAY, MetricAt(SM_CXSMICON, taskbarDpi));
    if (old) DestroyIcon(old);
}

void CTrayIcon::Add() {
    LoadIcon();
    m_keeper.Add();
}

void CTrayIcon::Refresh() {
    LoadIcon();
    NOTIFYICONDATAW data = IconData(m_window, NIF_ICON);
    data.hIcon = m_icon;
    Shell_NotifyIconW(NIM_MODIFY, &data);
}

bool CTrayIcon::AddIcon() {
    NOTIFYICONDATAW data = IconData(m_window, NIF_MESSAGE | NIF_ICON | NIF_TIP);
    data.uCallbackMessage = kCallbackMessage;
    data.hIcon = m_icon;
    lstrcpynW(data.szTip, L"Tarnwick", 64);
    // A busy shell may report a timeout and add the icon all the same: a retry's add
    // then fails, and the icon is found there by a modify.
    return Shell_NotifyIconW(NIM_ADD, &data) || Shell_NotifyIconW(NIM_MODIFY, &data);
}

void CTrayIcon::StartRetryTimer(unsigned intervalMs) { SetTimer(m_window, kRetryTimer, intervalMs, nullptr); }

void CTrayIcon::StopRetryTimer() { KillTimer(m_window, kRetryTimer); }

void CTrayIcon::Remove() {
    KillTimer(m_window, kRetryTimer);
    NOTIFYICONDATAW data = IconData(m_window, 0);
    Shell_NotifyIconW(NIM_DELETE, &data);
}

void CTrayIcon::ShowMenu() {
    POINT cursor{};
    GetCursorPos(&cursor);
    // The window must be in front, or the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(m_window);
    CMenu menu(IDR_POPUP);
    menu.TrackPopup(0, TPM_LEFTALIGN | TPM_LEFTBUTTON, cursor, m_window);
    // Then a message of its own, which completes the switch to the window as Windows
    // asks of a notification-area menu: else a second right click may find the menu
    // not opening, or it may stay open.
    PostMessageW(m_window, WM_NULL, 0, 0);
}

}  // namespace tarnwick
