#pragma once

#include <cstdint>

#include "platform/FileStatus.h"

namespace folivar::platform {

// A moment in the user's local time zone, split into its calendar parts.
struct LocalTime {
    int year = 1970;
    int month = 1;      // 1..12
    int dayOfWeek = 4;  // 0 = Sunday
    int day = 1;        // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// Local time of a file time, by the time zone rules in force at that moment
// (a file written in summer shows its summer-time hour all year round).
LocalTime toLocalTime(FileTime time);

}  // namespace folivar::platform
