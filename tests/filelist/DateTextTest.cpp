#include "filelist/DateText.h"

#include <gtest/gtest.h>

#include <string>

#include "filelist/EConvertError.h"
#include "support/ThrowsMessage.h"

namespace folivar {
namespace {

TSystemTime dayOf(int year, int month, int day) {
    TSystemTime t{};
    t.Year = static_cast<uint16_t>(year);
    t.Month = static_cast<uint16_t>(month);
    t.Day = static_cast<uint16_t>(day);
    return t;
}

TEST(DateText, WritesWithoutLeadingZerosAndReadsBack) {
    EXPECT_EQ(DateToStr(dayOf(2004, 3, 5)), "5.3.2004");
    EXPECT_EQ(DateToStr(dayOf(2003, 12, 25)), "25.12.2003");
    EXPECT_EQ(DateToStr(dayOf(999, 1, 1)), "1.1.0999");
    for (int year : {999, 1970, 2000, 2038}) {
        for (int month = 1; month <= 12; ++month) {
            for (int day : {1, 28}) {
                EXPECT_EQ(StrToDate(DateToStr(dayOf(year, month, day))),
                          EncodeDate(year, month, day));
            }
        }
    }
    EXPECT_EQ(StrToDate("09.07.2004"), EncodeDate(2004, 7, 9));
    EXPECT_EQ(StrToDate("29.2.2000"), EncodeDate(2000, 2, 29));
}

class InvalidDate : public testing::TestWithParam<std::string> {};

TEST_P(InvalidDate, RaisesWithTheText) {
    const std::string& text = GetParam();
    EXPECT_THROW_MSG(StrToDate(text), EConvertError, "'" + text + "' is not a valid date");
}

INSTANTIATE_TEST_SUITE_P(Texts, InvalidDate,
                         testing::Values("", "9.7", "9/7/2004", "2004-07-09", "32.1.2004",
                                         "29.2.2003", "29.2.1900", "31.4.2004", "0.1.2004",
                                         "1.13.2004", " 9.7.2004", "9.7.2004 ", "123.1.2004",
                                         "1..2004", "9.7.2004.1"));

}  // namespace
}  // namespace folivar
