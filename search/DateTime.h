#pragma once

#include <cstdint>

namespace folivar {

using TDateTime = double;  // days since 30 December 1899; the fraction is the time of day

// Day number of a calendar date (1 January 2001 gives 36892).
TDateTime EncodeDate(int year, int month, int day);

// The calendar date of a day number (its time of day is dropped).
void DecodeDate(TDateTime date, int& year, int& month, int& day);

// The date part of a date-time (time of day zero).
TDateTime DateOf(TDateTime value);

// Today's local date at midnight, from the platform clock.
TDateTime Today();

}  // namespace folivar
