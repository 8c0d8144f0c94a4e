#include "datetaken/CalendarTime.h"

#include "search/DateTime.h"

namespace folivar {

namespace {

constexpr std::int64_t kUnixEpochDay = 25569;  // 1 January 1970 as a day number
constexpr std::int64_t kMillisecondsPerDay = 86400000;

std::int64_t dayNumber(int year, int month, int day) {
    return static_cast<std::int64_t>(EncodeDate(year, month, day));
}

}  // namespace

std::optional<platform::LocalTime> calendarTime(int year, int month, int day, int hour, int minute,
                                                int second, int millisecond) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 ||
        hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
        millisecond > 999) {
        return std::nullopt;
    }
    const std::int64_t days = dayNumber(year, month, day);
    int y = 0;
    int m = 0;
    int d = 0;
    DecodeDate(static_cast<TDateTime>(days), y, m, d);
    if (y != year || m != month || d != day) {
        return std::nullopt;  // 30 February came out as 2 March
    }
    platform::LocalTime time;
    time.year = year;
    time.month = month;
    time.day = day;
    time.hour = hour;
    time.minute = minute;
    time.second = second;
    time.millisecond = millisecond;
    // Day 0, 30 December 1899, was a Saturday.
    time.dayOfWeek = static_cast<int>(((days % 7) + 7 + 6) % 7);
    return time;
}

std::int64_t millisecondsOf(const platform::LocalTime& time) {
    const std::int64_t days = dayNumber(time.year, time.month, time.day) - kUnixEpochDay;
    return days * kMillisecondsPerDay +
           ((time.hour * 60 + time.minute) * 60 + time.second) * std::int64_t{1000} +
           time.millisecond;
}

platform::LocalTime localTimeOf(const platform::LocalTime& time, int offsetMinutes) {
    const std::int64_t utc = millisecondsOf(time) - std::int64_t{offsetMinutes} * 60000;
    std::int64_t seconds = utc / 1000;
    if (utc % 1000 < 0) {
        --seconds;  // before 1970: down to the whole second
    }
    platform::FileTime moment;
    moment.seconds = seconds;
    moment.nanoseconds = static_cast<std::int32_t>((utc - seconds * 1000) * 1000000);
    return platform::toLocalTime(moment);
}

}  // namespace folivar
