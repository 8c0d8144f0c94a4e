#include "filelist/MergeOrder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <vector>

namespace folivar {
namespace {

using Order = std::vector<std::size_t>;

std::size_t ceilLog2(std::size_t n) {
    std::size_t bits = 0;
    while ((std::size_t{1} << bits) < n) {
        ++bits;
    }
    return bits;
}

bool isPermutation(const Order& order, std::size_t count) {
    Order sorted = order;
    std::sort(sorted.begin(), sorted.end());
    Order identity(count);
    std::iota(identity.begin(), identity.end(), std::size_t{0});
    return sorted == identity;
}

TEST(MergeSortOrder, SortsByAConsistentComparisonKeepingTiesInOrder) {
    const std::vector<int> keys{5, 3, 9, 3, 1, 5, 0, 3};
    const Order order = mergeSortOrder(keys.size(), [&](std::size_t a, std::size_t b) {
        return keys[a] < keys[b] ? -1 : (keys[a] > keys[b] ? 1 : 0);
    });
    EXPECT_EQ(order, (Order{6, 4, 1, 3, 7, 0, 5, 2}));
}

// Comparisons that contradict themselves: the sort still ends within its
// bound of comparisons and returns every position exactly once.
TEST(MergeSortOrder, EndsOnAnyAnswersWithEveryPositionOnce) {
    for (std::size_t count : {0u, 1u, 2u, 3u, 17u, 1000u, 65537u}) {
        std::uint32_t state = 7;
        std::size_t calls = 0;
        const Order order = mergeSortOrder(count, [&](std::size_t a, std::size_t b) {
            ++calls;
            EXPECT_LT(a, count);
            EXPECT_LT(b, count);
            state = state * 1103515245u + 12345u;
            return static_cast<int>(state >> 30) - 2;  // -2 .. 1, no pattern
        });
        EXPECT_TRUE(isPermutation(order, count)) << count;
        EXPECT_LE(calls, count * ceilLog2(count)) << count;
    }
}

}  // namespace
}  // namespace folivar
