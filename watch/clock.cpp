#include "watch/clock.h"

#include "core/texts.h"

namespace tarnwick {

#ifndef _WIN32
// Windows takes the system's local time instead (app/system_clock_win.cpp): the C
// runtime reads the time zone once per process, so a changed zone would not show.
bool SystemClock::LocalNow(std::tm& now) {
    std::time_t seconds = std::time(nullptr);
    return localtime_r(&seconds, &now) != nullptr;
}

std::string SystemClock::InUserFormat(const std::tm&) { return {}; }
#endif

std::string TimeStamp(Clock& clock) {
    std::tm now{};
    if (!clock.LocalNow(now)) return {};
    if (CurrentLanguage() == Language::English) {
        std::string stamp = clock.InUserFormat(now);
        if (!stamp.empty()) return stamp;
    }
    char buffer[128];
    std::size_t length = std::strftime(buffer, sizeof buffer, "%y/%m/%d %H:%M:%S", &now);
    return std::string(buffer, length);
}

}  // namespace tarnwick
