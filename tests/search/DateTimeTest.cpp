#include <ostream>
#include "search/DateTime.h"

#include <gtest/gtest.h>

namespace folivar {
namespace {

struct DateCase {
    int year, month, day;
    double serial;
};

void PrintTo(const DateCase& c, std::ostream* out) {
    *out << c.year << '-' << c.month << '-' << c.day;
}

class DayNumbers : public testing::TestWithParam<DateCase> {};

TEST_P(DayNumbers, EncodeAndDecode) {
    const DateCase& c = GetParam();
    EXPECT_EQ(EncodeDate(c.year, c.month, c.day), c.serial);
    int y = 0, m = 0, d = 0;
    DecodeDate(c.serial + 0.75, y, m, d);
    EXPECT_EQ(y, c.year);
    EXPECT_EQ(m, c.month);
    EXPECT_EQ(d, c.day);
}

INSTANTIATE_TEST_SUITE_P(Calendar, DayNumbers,
                         testing::Values(DateCase{1899, 12, 30, 0}, DateCase{1900, 1, 1, 2},
                                         DateCase{1970, 1, 1, 25569}, DateCase{2000, 2, 29, 36585},
                                         DateCase{2001, 1, 1, 36892}, DateCase{2004, 7, 9, 38177},
                                         DateCase{2100, 3, 1, 73110}));

TEST(DateOf, DropsTheTimeOfDay) {
    EXPECT_EQ(DateOf(36892.999), 36892.0);
    EXPECT_EQ(DateOf(36892.0), 36892.0);
}

}  // namespace
}  // namespace folivar
