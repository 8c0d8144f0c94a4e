#pragma once

#include <cstddef>
#include <vector>

#include "filelist/FileRow.h"

namespace folivar {

// The rows of the file list, in list order. Sorting, the list commands,
// renaming, the duplicate finder and the export all work on this table; the
// window only shows it.
class FileTable {
public:
    std::size_t size() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }

    FileRow& operator[](std::size_t row) { return rows_[row]; }
    const FileRow& operator[](std::size_t row) const { return rows_[row]; }
    std::vector<FileRow>::const_iterator begin() const { return rows_.begin(); }
    std::vector<FileRow>::const_iterator end() const { return rows_.end(); }

    void append(FileRow row) { rows_.push_back(std::move(row)); }
    void clear() { rows_.clear(); }

    // Removes the rows at these indexes (any order, repeats allowed); the others
    // keep their order. An index past the end throws std::out_of_range and
    // removes nothing.
    void removeRows(std::vector<std::size_t> indexes);

    // Puts the rows in a new order: order[k] is the current index of the row
    // that moves to position k. Anything but a permutation of the current
    // indexes throws std::invalid_argument and leaves the table as it was, so no
    // row can be lost or doubled.
    void reorder(const std::vector<std::size_t>& order);

private:
    std::vector<FileRow> rows_;
};

}  // namespace folivar
