#include "watch/clock.h"

namespace tarnwick {

bool SystemClock::LocalNow(std::tm& now) {
    std::time_t seconds = std::time(nullptr);
#ifdef _WIN32
    return localtime_s(&now, &seconds) == 0;
#else
    return localtime_r(&seconds, &now) != nullptr;
#endif
}

std::string TimeStamp(Clock& clock) {
    std::tm now{};
    if (!clock.LocalNow(now)) return {};
    char buffer[128];
    std::size_t length = std::strftime(buffer, sizeof buffer, "%y/%m/%d %H:%M:%S", &now);
    return std::string(buffer, length);
}

}  // namespace tarnwick
