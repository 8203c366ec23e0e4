#include "watch/foreground_follower.h"

namespace tarnwick {

ForegroundFollower::Decision ForegroundFollower::ForegroundSeen(Dword processId, std::uint64_t nowMs) {
    const bool changed = m_seen && processId != m_foreground;
    m_seen = true;
    m_foreground = processId;
    if (!changed) return {};
    const std::uint64_t since = nowMs - m_lastTickMs;
    if (!m_ticked || since >= kMinimumGapMs) return {true, 0};
    return {true, kMinimumGapMs - since};
}

void ForegroundFollower::Ticked(std::uint64_t nowMs) {
    m_ticked = true;
    m_lastTickMs = nowMs;
}

}  // namespace tarnwick
