#include <windows.h>

#include "watch/clock.h"

namespace tarnwick {

// The system's local time, which follows a change of the time zone at once.
bool SystemClock::LocalNow(std::tm& now) {
    SYSTEMTIME local{};
    GetLocalTime(&local);
    now = std::tm{};
    now.tm_year = local.wYear - 1900;
    now.tm_mon = local.wMonth - 1;
    now.tm_mday = local.wDay;
    now.tm_hour = local.wHour;
    now.tm_min = local.wMinute;
    now.tm_sec = local.wSecond;
    now.tm_wday = local.wDayOfWeek;
    now.tm_isdst = -1;
    return true;
}

}  // namespace tarnwick
