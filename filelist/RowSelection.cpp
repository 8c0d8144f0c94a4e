#include "filelist/RowSelection.h"

#include <algorithm>
#include <deque>
#include <limits>
#include <stdexcept>
#include <string_view>
#include <unordered_map>

namespace folivar {

RowSelection selectAll(std::size_t rowCount) {
    return RowSelection(rowCount, true);
}

RowSelection invertSelection(const RowSelection& selection) {
    RowSelection inverted(selection);
    inverted.flip();
    return inverted;
}

std::optional<std::size_t> firstSelected(const RowSelection& selection) {
    const auto found = std::find(selection.begin(), selection.end(), true);
    if (found == selection.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - selection.begin());
}

RowSelection selectionOf(std::size_t rowCount, const std::vector<std::size_t>& rows) {
    RowSelection selection(rowCount, false);
    for (std::size_t row : rows) {
        if (row >= rowCount) {
            throw std::out_of_range("no such file list row");
        }
        selection[row] = true;
    }
    return selection;
}

RowSelection followOrder(const RowSelection& selection, const std::vector<std::size_t>& order) {
    RowSelection moved(order.size(), false);
    for (std::size_t k = 0; k < order.size(); ++k) {
        moved[k] = order[k] < selection.size() && selection[order[k]];
    }
    return moved;
}

std::vector<std::size_t> orderBetween(const std::vector<std::string>& before,
                                      const std::vector<std::string>& after) {
    std::unordered_map<std::string_view, std::deque<std::size_t>> formerRows;
    formerRows.reserve(before.size());
    for (std::size_t row = 0; row < before.size(); ++row) {
        formerRows[before[row]].push_back(row);
    }
    std::vector<std::size_t> order(after.size(), std::numeric_limits<std::size_t>::max());
    for (std::size_t k = 0; k < after.size(); ++k) {
        const auto found = formerRows.find(after[k]);
        if (found != formerRows.end() && !found->second.empty()) {
            order[k] = found->second.front();
            found->second.pop_front();
        }
    }
    return order;
}

void requireSelectionFits(const RowSelection& selection, std::size_t rowCount) {
    if (selection.size() != rowCount) {
        throw std::invalid_argument("the selection does not match the file list");
    }
}

}  // namespace folivar
