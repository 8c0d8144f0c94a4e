#pragma once

#include <cstddef>
#include <functional>
#include <vector>

namespace folivar {

// Answers a three-way comparison of two positions: below 0 when the first goes
// before the second, above 0 when after, 0 when they rank equal.
using PositionCompare = std::function<int(std::size_t, std::size_t)>;

// Orders positions 0..count-1 by a top-down merge sort: a range splits at
// half its length (the first half the shorter by at most one), both halves
// are sorted, and the merge takes the head of the second half only when the
// comparison of the two heads answers above 0. The comparison need not be
// consistent, or even answer the same twice: the sort still ends after at most
// count x ceil(log2 count) comparisons and returns every position exactly once.
// Rows that rank equal keep their order.
std::vector<std::size_t> mergeSortOrder(std::size_t count, const PositionCompare& compare);

}  // namespace folivar
