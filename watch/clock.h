// Local time for the history's time stamps, injectable so tests control it.
#pragma once

#include <ctime>
#include <string>

namespace tarnwick {

class Clock {
public:
    virtual ~Clock() = default;
    // The current local time; false when it cannot be had.
    virtual bool LocalNow(std::tm& now) = 0;
};

class SystemClock final : public Clock {
public:
    bool LocalNow(std::tm& now) override;
};

// "%y/%m/%d %H:%M:%S", or the empty text when the time cannot be formatted.
std::string TimeStamp(Clock& clock);

}  // namespace tarnwick
