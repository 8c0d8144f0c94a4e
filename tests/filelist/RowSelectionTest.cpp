#include "filelist/RowSelection.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <string>

namespace folivar {
namespace {

TEST(RowSelection, InvertingNoneSelectsEveryRowAndTwiceRestores) {
    const RowSelection none(4, false);
    EXPECT_EQ(invertSelection(none), selectAll(4));

    const RowSelection some{true, false, false, true, false};
    const RowSelection inverted = invertSelection(some);
    EXPECT_EQ(inverted, (RowSelection{false, true, true, false, true}));
    EXPECT_EQ(invertSelection(inverted), some);
    EXPECT_TRUE(invertSelection(RowSelection{}).empty());
}

TEST(RowSelection, FirstSelectedIsTheEarliestInListOrder) {
    EXPECT_EQ(firstSelected({false, false, true, true}), 2u);
    EXPECT_EQ(firstSelected(selectAll(3)), 0u);
    EXPECT_FALSE(firstSelected({false, false}).has_value());
    EXPECT_FALSE(firstSelected({}).has_value());
}

TEST(RowSelection, BuildsFromIndexes) {
    EXPECT_EQ(selectionOf(4, {3, 1, 3}), (RowSelection{false, true, false, true}));
    EXPECT_THROW(selectionOf(2, {2}), std::out_of_range);
    EXPECT_THROW(requireSelectionFits({true}, 2), std::invalid_argument);
}

TEST(RowSelection, FollowsItsRowsIntoTheirNewOrder) {
    // Rows a b c d, a and c selected, put in the order d b a c.
    EXPECT_EQ(followOrder({true, false, true, false}, {3, 1, 0, 2}),
              (RowSelection{false, false, true, true}));
    EXPECT_EQ(followOrder({}, {}), RowSelection{});
}

TEST(RowSelection, OrderIsReadFromTheFilesBeforeAndAfter) {
    constexpr std::size_t kNew = std::numeric_limits<std::size_t>::max();
    const struct {
        std::vector<std::string> before, after;
        std::vector<std::size_t> order;
    } cases[] = {
        {{"/a", "/b", "/c"}, {"/c", "/a", "/b"}, {2, 0, 1}},
        {{"/a", "/b", "/c"}, {"/c", "/a"}, {2, 0}},                 // /b dropped
        {{"/a", "/x", "/b", "/x"}, {"/x", "/b", "/x"}, {1, 2, 3}},  // listed twice: in turn
        {{"/a"}, {"/a", "/n", "/a"}, {0, kNew, kNew}},
        {{}, {}, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(orderBetween(c.before, c.after), c.order);
    }
    // The rows that stay keep their selection; a new one is not selected.
    EXPECT_EQ(
        followOrder({true, false, true}, orderBetween({"/a", "/b", "/c"}, {"/c", "/b", "/n"})),
        (RowSelection{true, false, false}));
}

}  // namespace
}  // namespace folivar
