#pragma once

#include <cstdint>
#include <optional>

#include "platform/LocalTime.h"

namespace folivar {

// A date and time of day that exists on the calendar (years 1 to 9999), with
// its day of the week; nullopt for 30 February or 24:00.
std::optional<platform::LocalTime> calendarTime(int year, int month, int day, int hour = 0,
                                                int minute = 0, int second = 0,
                                                int millisecond = 0);

// Milliseconds from 1 January 1970 to that calendar time read as UTC: the
// order of two calendar times, and the way from one zone to another.
std::int64_t millisecondsOf(const platform::LocalTime& time);

// The moment that is this calendar time at offsetMinutes east of UTC (0: a
// UTC time), in the computer's local time.
platform::LocalTime localTimeOf(const platform::LocalTime& time, int offsetMinutes);

}  // namespace folivar
