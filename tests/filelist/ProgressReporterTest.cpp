#include "filelist/ProgressReporter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/RecordingSink.h"
#include "support/ScriptedClock.h"

namespace folivar {
namespace {

using testing::ElementsAre;

std::vector<int> shownPercentages(std::size_t rows) {
    test::RecordingSink sink;
    ProgressReporter progress(sink, rows);
    for (std::size_t i = 0; i < rows; ++i) {
        progress.rowDone();
    }
    return sink.percents;
}

TEST(Progress, HalvesGoToTheEvenNumber) {
    EXPECT_THAT(shownPercentages(3), ElementsAre(33, 67, 100));
    EXPECT_THAT(shownPercentages(8), ElementsAre(12, 25, 38, 50, 62, 75, 88, 100));
    EXPECT_EQ(percentDone(1, 200), 0);  // 0.5
    EXPECT_EQ(percentDone(3, 200), 2);  // 1.5
    EXPECT_EQ(percentDone(0, 0), 0);
    EXPECT_EQ(percentDone(4, 3), 100);  // one past the last row still shows 100
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
        EXPECT_EQ(percentDone(c.done, c.total), c.expected) << c.done << "/" << c.total;
    }
}

TEST(Progress, ReportsOnlyChangesButTheFirstRowAlways) {
    const std::vector<int> shown = shownPercentages(100000);
    ASSERT_EQ(shown.size(), 101u);
    EXPECT_EQ(shown.front(), 0);  // the first row replaces "Please wait..."
    EXPECT_EQ(shown.back(), 100);
}

TEST(Progress, StatusText) {
    test::RecordingSink sink;
    ProgressReporter progress(sink, 5);
    progress.rowDone();
    progress.rowsDone(2);
    EXPECT_THAT(sink.log, ElementsAre("progress 20", "status: 20% are completed. Please wait...",
                                      "progress 40", "status: 40% are completed. Please wait..."));
}

// The window stays alive through these: every row done and every folder
// entered, a text held back included, but no text alone.
TEST(Progress, EveryRowAndEveryPassingTextSaysTheOperationIsStillWorking) {
    const test::ScriptedClock clock;  // the tick stands still: passing texts are held back
    test::RecordingSink sink;
    ProgressReporter progress(sink, 1000);
    for (int i = 0; i < 1000; ++i) {
        progress.rowDone();
    }
    EXPECT_EQ(sink.percents.size(), 101u);
    progress.passing("/a");
    progress.passing("/a/b");
    progress.working();
    progress.status("done");
    EXPECT_EQ(sink.workingCalls, 1003);
}

// The folders a scan enters pass at most every 250 ms; what was held back
// shows when nothing replaces it, and a text that must be seen drops it.
TEST(Progress, PassingTextsAreThinnedOutAndTheLastOneStays) {
    test::ScriptedClock clock;
    clock.scriptTicks({1000, 1100, 1249, 1250, 1300, 1400});
    test::RecordingSink sink;
    {
        ProgressReporter progress(sink);
        for (const char* folder : {"/a", "/a/b", "/a/c", "/d"}) {
            progress.passing(folder);
        }
        progress.status("summary");
        progress.passing("/e");
        progress.passing("/f");
    }
    EXPECT_THAT(sink.statuses, ElementsAre("/a", "/d", "summary", "/f"));
}

TEST(Progress, APassingTextHeldBackIsShownAlsoWhenAnErrorEndsTheOperation) {
    test::ScriptedClock clock;  // the tick stands still: only the first text passes
    test::RecordingSink sink;
    try {
        ProgressReporter progress(sink);
        progress.passing("/a");
        progress.passing("/a/b");
        throw std::runtime_error("a mask that is no mask");
    } catch (const std::runtime_error&) {
    }
    EXPECT_THAT(sink.statuses, ElementsAre("/a", "/a/b"));
}

}  // namespace
}  // namespace folivar
