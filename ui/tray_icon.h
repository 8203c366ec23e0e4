// The notification-area icon of a window: added at start and whenever the taskbar is
// made anew (a failed add retried through TrayIconKeeper), shown at the small-icon size
// of the taskbar's DPI, its menu opened at the cursor, removed at the end. Its mouse
// messages reach the window as kCallbackMessage; what they do is the window's part.
#pragma once

#include <windows.h>

#include "ui/tray_icon_keeper.h"

namespace tarnwick {

class CTrayIcon final : private TrayIconShell {
public:
    static constexpr UINT kCallbackMessage = WM_USER + 1;
    static constexpr UINT_PTR kRetryTimer = 4;  // a timer of the window's

    explicit CTrayIcon(const HWND& window) : m_window(window) {}
    ~CTrayIcon() override;
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    // At start and when the taskbar is made anew, whose DPI may differ.
    void Add();
    // The icon at the taskbar's present DPI.
    void Refresh();
    void RetryTimerFired() { m_keeper.RetryTimerFired(); }
    void Remove();
    // The icon's menu at the cursor; a chosen command goes to the window.
    void ShowMenu();

private:
    bool AddIcon() override;
    void StartRetryTimer(unsigned intervalMs) override;
    void StopRetryTimer() override;
    void LoadIcon();

    const HWND& m_window;
    HICON m_icon = nullptr;
    TrayIconKeeper m_keeper{*this};
};

}  // namespace tarnwick
