#include "filelist/MergeOrder.h"

#include <numeric>

namespace folivar {

namespace {

class MergeSorter {
public:
    MergeSorter(std::vector<std::size_t>& items, const PositionCompare& compare)
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
            if (compare_(items_[left], items_[right]) > 0) {
                buffer_[out++] = items_[right++];
            } else {
                buffer_[out++] = items_[left++];
            }
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
    const PositionCompare& compare_;
};

}  // namespace

std::vector<std::size_t> mergeSortOrder(std::size_t count, const PositionCompare& compare) {
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), std::size_t{0});
    MergeSorter(order, compare).sort(0, count);
    return order;
}

}  // namespace folivar
