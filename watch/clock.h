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
    // The date and time as the user's own Windows settings write them, short date then
    // time; empty when they cannot be had.
    virtual std::string InUserFormat(const std::tm& time) = 0;
};

class SystemClock final : public Clock {
public:
    bool LocalNow(std::tm& now) override;
    std::string InUserFormat(const std::tm& time) override;
};

// The history's time stamp: in Japanese "%y/%m/%d %H:%M:%S" as the history has always
// read; in English the user's own format, since "26/12/08" reads as 26 December 2008
// to an English reader (the fixed form where the user's cannot be had). Empty when
// the time cannot be had.
std::string TimeStamp(Clock& clock);

}  // namespace tarnwick
