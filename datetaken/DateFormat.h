#pragma once

#include <string>
#include <string_view>

#include "platform/LocalTime.h"

namespace folivar {

// A date and time written by a Qt date-time format, as QDateTime::toString
// writes it (Qt 6: English names whatever the locale):
//   yyyy year, four digits      yy  year, two digits
//   M / MM month, 1-12 / 01-12   MMM / MMMM  Jan / January
//   d / dd day, 1-31 / 01-31     ddd / dddd  Mon / Monday
//   H / HH hour 0-23 / 00-23     h / hh hour, 1-12 with AP or ap in the format, else 0-23
//   m / mm minute                s / ss second
//   z / zzz the second's fraction: 12 / 120 for 120 ms, 005 / 005 for 5 ms
//   AP or A: AM / PM             ap or a: am / pm
//   'text' as it is ('' for one quote); every other character as it is.
// A single y and the time zone's t are not written as dates: they stand as
// letters.
std::string formatDate(std::string_view format, const platform::LocalTime& time);

}  // namespace folivar
