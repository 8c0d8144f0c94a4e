#include "filelist/IntegerText.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <string>

#include "filelist/EConvertError.h"
#include "support/ThrowsMessage.h"

namespace folivar {
namespace {

struct ValidCase {
    std::string text;
    int64_t value;
};

void PrintTo(const ValidCase& c, std::ostream* out) {
    *out << '"' << c.text << '"';
}

class ValidInteger : public testing::TestWithParam<ValidCase> {};

TEST_P(ValidInteger, Reads) {
    EXPECT_EQ(StrToInt64(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ValidInteger,
    testing::Values(ValidCase{"0", 0}, ValidCase{"1234", 1234}, ValidCase{"-5", -5},
                    ValidCase{"+7", 7}, ValidCase{"007", 7}, ValidCase{"-0", 0},
                    ValidCase{" 42 ", 42}, ValidCase{"\t-1", -1},
                    ValidCase{"2147483648", 2147483648LL},  // past the 32-bit range
                    ValidCase{"5368709120", 5368709120LL},
                    ValidCase{"9223372036854775807", std::numeric_limits<int64_t>::max()},
                    ValidCase{"-9223372036854775808", std::numeric_limits<int64_t>::min()}));

class InvalidInteger : public testing::TestWithParam<std::string> {};

TEST_P(InvalidInteger, RaisesWithTheTextAsGiven) {
    const std::string& text = GetParam();
    EXPECT_THROW_MSG(StrToInt64(text), EConvertError,
                     "'" + text + "' is not a valid integer value");
}

INSTANTIATE_TEST_SUITE_P(Texts, InvalidInteger,
                         testing::Values("", " ", " x ", "abc", "12a", "1 2", "+", "-", "--1",
                                         "+-1", "0x10", "1.5", "1e3", "1,000",
                                         "9223372036854775808", "-9223372036854775809",
                                         "99999999999999999999", "184467440737095516160"));

}  // namespace
}  // namespace folivar
