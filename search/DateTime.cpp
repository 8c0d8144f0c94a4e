#include "search/DateTime.h"

#include <cmath>

#include "platform/Clock.h"

namespace folivar {

namespace {

constexpr std::int64_t kUnixEpochDay = 25569;  // 1 January 1970

// Days since 1 January 1970 of a proleptic Gregorian date.
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3u : 9u)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

}  // namespace

TDateTime EncodeDate(int year, int month, int day) {
    return static_cast<TDateTime>(
        daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
        kUnixEpochDay);
}

void DecodeDate(TDateTime date, int& year, int& month, int& day) {
    const std::int64_t z = static_cast<std::int64_t>(std::floor(date)) - kUnixEpochDay + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2));
}

TDateTime DateOf(TDateTime value) {
    return std::trunc(value);
}

TDateTime Today() {
    const platform::LocalTime now = platform::clock().localNow();
    return EncodeDate(now.year, now.month, now.day);
}

}  // namespace folivar
