#include "export/ProgressPercent.h"

#include <gtest/gtest.h>

#include <cstddef>

namespace folivar {
namespace {

TEST(ProgressPercentTest, RoundsHalvesToEven) {
    const struct {
        std::size_t done, total;
        int expected;
    } cases[] = {
        {1, 8, 12},        {3, 8, 38},
        {5, 8, 62},        {7, 8, 88},
        {1, 200, 0},       {3, 200, 2},
        {5, 200, 2},       {7, 200, 4},
        {2, 3, 67},        {1, 3, 33},
        {1, 1, 100},       {199999, 200000, 100},
        {1999, 200000, 1}, {2001, 200000, 1},
        {201, 200000, 0},  {30000000, 60000000, 50},  // past 2^31 once multiplied by 100
    };
    for (const auto& c : cases) {
        EXPECT_EQ(progressPercent(c.done, c.total), c.expected) << c.done << "/" << c.total;
    }
}

}  // namespace
}  // namespace folivar
