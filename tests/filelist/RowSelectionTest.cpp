#include "filelist/RowSelection.h"

#include <gtest/gtest.h>

#include <stdexcept>

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

}  // namespace
}  // namespace folivar
