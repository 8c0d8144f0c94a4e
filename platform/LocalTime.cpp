#include "platform/LocalTime.h"

#include <ctime>

namespace folivar::platform {

LocalTime toLocalTime(FileTime time) {
    const auto seconds = static_cast<std::time_t>(time.seconds);
    std::tm tm{};
    if (::localtime_r(&seconds, &tm) == nullptr) {
        return LocalTime{};
    }
    LocalTime local;
    local.year = tm.tm_year + 1900;
    local.month = tm.tm_mon + 1;
    local.dayOfWeek = tm.tm_wday;
    local.day = tm.tm_mday;
    local.hour = tm.tm_hour;
    local.minute = tm.tm_min;
    local.second = tm.tm_sec;
    local.millisecond = time.nanoseconds / 1000000;
    return local;
}

}  // namespace folivar::platform
