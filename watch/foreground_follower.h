// Decides when a change of the foreground window runs a watch tick ahead of the
// timer, so that an active priority arrives at once rather than up to a whole
// cycle late: only when the foreground passes to another process, and never
// sooner than a short gap after the tick before it (the timer's ticks keep their
// own time).
#pragma once

#include <cstdint>

#include "watch/process_api.h"

namespace tarnwick {

class ForegroundFollower {
public:
    static constexpr std::uint64_t kMinimumGapMs = 50;

    struct Decision {
        bool tick = false;
        std::uint64_t delayMs = 0;  // 0: at once
        bool operator==(const Decision&) const = default;
    };

    // The foreground window's process as just seen (0 for none); times are
    // milliseconds of a steady clock. The first sighting only sets the start.
    Decision ForegroundSeen(Dword processId, std::uint64_t nowMs);
    // Every watch tick, the timer's included, reports here.
    void Ticked(std::uint64_t nowMs);

private:
    Dword m_foreground = 0;
    bool m_seen = false;
    bool m_ticked = false;
    std::uint64_t m_lastTickMs = 0;
};

}  // namespace tarnwick
