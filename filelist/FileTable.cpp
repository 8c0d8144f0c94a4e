#include "filelist/FileTable.h"

#include <algorithm>
#include <stdexcept>

namespace folivar {

void FileTable::removeRows(std::vector<std::size_t> indexes) {
    for (std::size_t index : indexes) {
        if (index >= rows_.size()) {
            throw std::out_of_range("no such file list row");
        }
    }
    std::vector<bool> doomed(rows_.size(), false);
    for (std::size_t index : indexes) {
        doomed[index] = true;
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (!doomed[i]) {
            if (kept != i) {
                rows_[kept] = std::move(rows_[i]);
            }
            ++kept;
        }
    }
    rows_.resize(kept);
}

void FileTable::reorder(const std::vector<std::size_t>& order) {
    if (order.size() != rows_.size()) {
        throw std::invalid_argument("row order does not cover every row");
    }
    std::vector<bool> seen(rows_.size(), false);
    for (std::size_t index : order) {
        if (index >= rows_.size() || seen[index]) {
            throw std::invalid_argument("row order does not cover every row once");
        }
        seen[index] = true;
    }
    std::vector<FileRow> reordered;
    reordered.reserve(rows_.size());
    for (std::size_t index : order) {
        reordered.push_back(std::move(rows_[index]));
    }
    rows_ = std::move(reordered);
}

}  // namespace folivar
