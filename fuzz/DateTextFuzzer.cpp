// Feeds random text to the date readers of names and metadata texts and to
// the date format. Besides crashes and sanitizer reports, it checks that
// every date they give exists on the calendar, and that a date format
// writes the same for the same moment.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "datetaken/CalendarTime.h"
#include "datetaken/DateFormat.h"
#include "datetaken/DateTimeText.h"
#include "datetaken/MediaKind.h"
#include "datetaken/NameDate.h"

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void checkReal(const folivar::platform::LocalTime& t) {
    check(folivar::calendarTime(t.year, t.month, t.day, t.hour, t.minute, t.second, t.millisecond)
              .has_value());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto named = folivar::dateInName(text)) {
        checkReal(*named);
        check(named->year >= 1900 && named->year <= 2099);
    }
    if (const auto stamped = folivar::readDateTimeText(text)) {
        checkReal(stamped->time);
        if (stamped->offsetMinutes) {
            check(*stamped->offsetMinutes >= -14 * 60 - 59 &&
                  *stamped->offsetMinutes <= 14 * 60 + 59);
        }
    }
    static_cast<void>(folivar::readOffsetText(text));
    static_cast<void>(folivar::mediaKindOf(text));
    const auto moment = folivar::calendarTime(2023, 4, 15, 12, 34, 56, 789);
    check(folivar::formatDate(text, *moment) == folivar::formatDate(text, *moment));
    return 0;
}
