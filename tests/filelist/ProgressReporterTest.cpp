#include "filelist/ProgressReporter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace folivar {
namespace {

using testing::ElementsAre;

std::vector<int> shownPercentages(std::size_t rows) {
    std::vector<int> shown;
    ProgressReporter progress(rows, {[&](int p) { shown.push_back(p); }, nullptr});
    for (std::size_t i = 0; i < rows; ++i) {
        progress.rowDone();
    }
    return shown;
}

TEST(Progress, HalvesGoToTheEvenNumber) {
    EXPECT_THAT(shownPercentages(3), ElementsAre(33, 67, 100));
    EXPECT_THAT(shownPercentages(8), ElementsAre(12, 25, 38, 50, 62, 75, 88, 100));
    EXPECT_EQ(PercentDone(1, 200), 0);  // 0.5
    EXPECT_EQ(PercentDone(3, 200), 2);  // 1.5
    EXPECT_EQ(PercentDone(0, 0), 0);
    EXPECT_EQ(PercentDone(4, 3), 100);  // one past the last row still shows 100
}

TEST(Progress, RoundingTable) {
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
        EXPECT_EQ(PercentDone(c.done, c.total), c.expected) << c.done << "/" << c.total;
    }
}

TEST(Progress, ReportsOnlyChangesButTheFirstRowAlways) {
    const std::vector<int> shown = shownPercentages(100000);
    ASSERT_EQ(shown.size(), 101u);
    EXPECT_EQ(shown.front(), 0);  // the first row replaces "Please wait..."
    EXPECT_EQ(shown.back(), 100);
}

TEST(Progress, StatusText) {
    std::vector<std::string> texts;
    ProgressReporter progress(5, {nullptr, [&](const std::string& t) { texts.push_back(t); }});
    progress.rowDone();
    progress.rowDone();
    EXPECT_THAT(texts, ElementsAre("20% are completed. Please wait...",
                                   "40% are completed. Please wait..."));
    EXPECT_EQ(progress.done(), 2u);
}

}  // namespace
}  // namespace folivar
