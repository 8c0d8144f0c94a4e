#pragma once

#include <cstddef>
#include <numeric>
#include <vector>

namespace folivar {

// Orders positions 0..count-1 by a top-down merge sort. compare(a, b) answers
// below 0 when position a goes before b, above 0 when after, 0 when they rank
// equal. A range splits at half its length (the first half the shorter by at
// most one), both halves are sorted, and the merge takes the head of the second
// half only when the comparison of the two heads answers above 0. The
// comparison need not be consistent, or even answer the same twice: the sort
// still ends after at most count x ceil(log2 count) comparisons and returns
// every position exactly once. Rows that rank equal keep their order.
template <typename Compare>
std::vector<std::size_t> mergeSortOrder(std::size_t count, Compare compare);

namespace detail {

template <typename Compare>
class MergeSorter {
public:
    MergeSorter(std::vector<std::size_t>& items, Compare& compare)
        : items_(items), buffer_(items.size()), compare_(compare) {}

    void sort(std::size_t low, std::size_t high) {
        if (high - low < 2) {
            return;
        }
        const std::size_t middle = low + (high - low) / 2;
        sort(low, middle);
        sort(middle, high);
        merge(low, middle, high);
    }

private:
    void merge(std::size_t low, std::size_t middle, std::size_t high) {
        std::size_t left = low;
        std::size_t right = middle;
        std::size_t out = low;
        while (left < middle && right < high) {
            // Without a branch: a shuffle's answers are random, and a
            // mispredicted jump per comparison would cost more than the rest.
            const bool takeRight = compare_(items_[left], items_[right]) > 0;
            buffer_[out++] = takeRight ? items_[right] : items_[left];
            right += takeRight ? 1 : 0;
            left += takeRight ? 0 : 1;
        }
        // Each input position is copied once, whatever the comparison said.
        while (left < middle) {
            buffer_[out++] = items_[left++];
        }
        while (right < high) {
            buffer_[out++] = items_[right++];
        }
        for (std::size_t k = low; k < high; ++k) {
            items_[k] = buffer_[k];
        }
    }

    std::vector<std::size_t>& items_;
    std::vector<std::size_t> buffer_;
    Compare& compare_;
};

}  // namespace detail

template <typename Compare>
std::vector<std::size_t> mergeSortOrder(std::size_t count, Compare compare) {
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), std::size_t{0});
    detail::MergeSorter<Compare>(order, compare).sort(0, count);
    return order;
}

}  // namespace folivar
