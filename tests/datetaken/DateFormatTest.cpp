#include <gtest/gtest.h>

#include "datetaken/CalendarTime.h"
#include "datetaken/DateFormat.h"

namespace folivar {
namespace {

TEST(DateFormatTest, WritesTheQtFormat) {
    // Wednesday 5 April 2023, 13:07:08.120; and 00:05 on a Sunday.
    const platform::LocalTime afternoon = *calendarTime(2023, 4, 5, 13, 7, 8, 120);
    const platform::LocalTime midnight = *calendarTime(2023, 1, 1, 0, 5, 0, 5);
    struct Case {
        const char* format;
        const char* afternoon;
        const char* midnight;
    };
    const Case cases[] = {
        {"yyyy-MM-dd_HH.mm.ss_", "2023-04-05_13.07.08_", "2023-01-01_00.05.00_"},
        {"yy M d H m s", "23 4 5 13 7 8", "23 1 1 0 5 0"},
        {"MMM MMMM ddd dddd", "Apr April Wed Wednesday", "Jan January Sun Sunday"},
        {"h:mm AP", "1:07 PM", "12:05 AM"},
        {"hh ap", "01 pm", "12 am"},
        {"hh", "13", "00"},
        {"z zzz", "12 120", "005 005"},
        {"'yyyy' ''x'' 'it''s'", "yyyy 'x' it's", "yyyy 'x' it's"},
        {"'open", "open", "open"},
        {"y yyy t", "y 23y t", "y 23y t"},
        {"MMMMM ddddd", "April4 Wednesday5", "January1 Sunday1"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(formatDate(c.format, afternoon), c.afternoon) << c.format;
        EXPECT_EQ(formatDate(c.format, midnight), c.midnight) << c.format;
    }
}

}  // namespace
}  // namespace folivar
