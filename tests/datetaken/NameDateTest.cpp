#include <gtest/gtest.h>

#include "datetaken/DateFormat.h"
#include "datetaken/NameDate.h"

namespace folivar {
namespace {

TEST(NameDateTest, NamesCamerasPhonesAndMessengersWrite) {
    struct Case {
        const char* name;
        const char* expected;  // "-": no date
    };
    const Case cases[] = {
        {"IMG_20230415_123456.jpg", "2023-04-15 12:34:56.000"},
        {"VID_20230415_123456.mp4", "2023-04-15 12:34:56.000"},
        {"PXL_20230415_123456789.jpg", "2023-04-15 12:34:56.789"},
        {"PXL_20230415_123456789.MP.jpg", "2023-04-15 12:34:56.789"},
        {"2023-04-15 12.34.56.jpg", "2023-04-15 12:34:56.000"},
        {"2023-04-15_12-34-56.png", "2023-04-15 12:34:56.000"},
        {"Screenshot_2023-04-15-12-34-56.png", "2023-04-15 12:34:56.000"},
        {"signal-2023-04-15-123456.jpg", "2023-04-15 12:34:56.000"},
        {"20230415_123456.heic", "2023-04-15 12:34:56.000"},
        {"20230415123456.jpg", "2023-04-15 12:34:56.000"},
        {"VID-20230415-WA0001.mp4", "2023-04-15 00:00:00.000"},
        {"IMG-20230415-WA0001.jpg", "2023-04-15 00:00:00.000"},
        {"holiday 2023.04.15.jpg", "2023-04-15 00:00:00.000"},
        // A time that does not exist leaves the day.
        {"IMG_20230415_256000.jpg", "2023-04-15 00:00:00.000"},
        // The first real date wins.
        {"2023-02-30 then 2023-04-15.jpg", "2023-04-15 00:00:00.000"},
        // No date.
        {"2023-02-30 12.34.56.jpg", "-"},
        {"IMG_20230229_120000.jpg", "-"},
        {"IMG_1234.JPG", "-"},
        {"pic0001.jpg", "-"},
        {"1234567890123456.jpg", "-"},
        {"x20230415123456789012.jpg", "-"},
        {"IMG_18990101_000000.jpg", "-"},
        {"IMG_21000101_000000.jpg", "-"},
        {"2023-04.jpg", "-"},
        {"", "-"},
    };
    for (const Case& c : cases) {
        const auto date = dateInName(c.name);
        EXPECT_EQ(date ? formatDate("yyyy-MM-dd HH:mm:ss.zzz", *date) : "-", c.expected) << c.name;
    }
}

}  // namespace
}  // namespace folivar
