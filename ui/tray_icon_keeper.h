// Keeps the notification-area icon there. At sign-in the taskbar may not be ready
// when Tarnwick starts, and adding the icon fails; with the window hidden at start
// Tarnwick would then be invisible. A failed add is tried again every two seconds
// for a minute, and a new taskbar ("TaskbarCreated") starts over. No window is
// needed, so the native tests check it.
#pragma once

namespace tarnwick {

class TrayIconShell {
public:
    virtual ~TrayIconShell() = default;
    // True when the icon stands in the notification area afterwards.
    virtual bool AddIcon() = 0;
    virtual void StartRetryTimer(unsigned intervalMs) = 0;
    virtual void StopRetryTimer() = 0;
};

class TrayIconKeeper {
public:
    static constexpr unsigned kRetryIntervalMs = 2000;
    static constexpr int kRetries = 30;  // a minute

    explicit TrayIconKeeper(TrayIconShell& shell) : m_shell(shell) {}
    // At start and whenever the taskbar is created anew.
    void Add();
    void RetryTimerFired();

private:
    TrayIconShell& m_shell;
    int m_retriesLeft = 0;
};

}  // namespace tarnwick
