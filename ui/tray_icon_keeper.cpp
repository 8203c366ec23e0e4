#include "ui/tray_icon_keeper.h"

namespace tarnwick {

void TrayIconKeeper::Add() {
    if (m_shell.AddIcon()) {
        if (m_retriesLeft > 0) m_shell.StopRetryTimer();
        m_retriesLeft = 0;
        return;
    }
    if (m_retriesLeft == 0) m_shell.StartRetryTimer(kRetryIntervalMs);
    m_retriesLeft = kRetries;
}

void TrayIconKeeper::RetryTimerFired() {
    if (m_retriesLeft == 0) return;
    if (m_shell.AddIcon() || --m_retriesLeft == 0) {
        m_retriesLeft = 0;
        m_shell.StopRetryTimer();
    }
}

}  // namespace tarnwick
