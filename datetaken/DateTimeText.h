#pragma once

#include <optional>
#include <string_view>

#include "platform/LocalTime.h"

namespace folivar {

// A date and time as metadata writes it, and the offset from UTC it names.
struct StampedTime {
    platform::LocalTime time;
    std::optional<int> offsetMinutes;  // east of UTC; nullopt: a local time, zone unknown

    // The moment in the computer's local time: with an offset, moved into
    // the computer's zone; without one, as it stands.
    platform::LocalTime local() const;
};

// Reads "2023:04:15 12:34:56" (EXIF), "2023-04-15T12:34:56.120+02:00" (XMP)
// and "2023-04-15 12:34:56 UTC" or "UTC 2023-04-15 12:34:56" (MediaInfo): the
// date with ":" or "-", the time after " " or "T", seconds optional, a
// fraction after "." or "," (milliseconds kept), then an offset ("Z",
// "+02:00", "+0200", "+02") or "UTC". Blanks around are ignored. nullopt for
// anything else, and for a date or time that does not exist ("0000:00:00
// 00:00:00", as cameras write an unset date).
std::optional<StampedTime> readDateTimeText(std::string_view text);

// Reads an offset alone: "+02:00", "-0530", "+02", "Z"; nullopt otherwise.
std::optional<int> readOffsetText(std::string_view text);

// Digits of a fraction of a second ("12" of ".12") as milliseconds (120);
// nullopt when empty or not all digits.
std::optional<int> readFractionText(std::string_view digits);

}  // namespace folivar
