#include "filelist/Shuffle.h"

#include "filelist/MergeOrder.h"
#include "platform/Clock.h"

namespace folivar {

std::vector<std::size_t> shuffleRows(FileTable& table, ShuffleRandom& random) {
    std::vector<std::size_t> order = mergeSortOrder(
        table.size(), [&random](std::size_t, std::size_t) { return random.compareAnswer(); });
    table.reorder(order);
    return order;
}

std::vector<std::size_t> shuffleRows(FileTable& table) {
    ShuffleRandom random(platform::clock().highResolutionCounter());
    return shuffleRows(table, random);
}

}  // namespace folivar
