#include <windows.h>

#include "watch/clock.h"
#include "win/text.h"

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

// The user's short date and time (GetDateFormatEx and GetTimeFormatEx follow the
// user's regional settings, not the display language). A format whose characters code
// page 932 cannot hold (Korean or Thai, say) gives way to the fixed form.
std::string SystemClock::InUserFormat(const std::tm& time) {
    SYSTEMTIME when{};
    when.wYear = static_cast<WORD>(time.tm_year + 1900);
    when.wMonth = static_cast<WORD>(time.tm_mon + 1);
    when.wDay = static_cast<WORD>(time.tm_mday);
    when.wDayOfWeek = static_cast<WORD>(time.tm_wday);
    when.wHour = static_cast<WORD>(time.tm_hour);
    when.wMinute = static_cast<WORD>(time.tm_min);
    when.wSecond = static_cast<WORD>(time.tm_sec);
    wchar_t date[80];
    wchar_t clock[80];
    if (!GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &when, nullptr, date, 80, nullptr) ||
        !GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &when, nullptr, clock, 80)) {
        return {};
    }
    std::string stamp;
    return NarrowExactly(std::wstring(date) + L" " + clock, stamp) ? stamp : std::string();
}

}  // namespace tarnwick
