#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "duplicates/ContentClassifier.h"
#include "filelist/FileTable.h"

namespace folivar {

// The runs of rows that share one Size text in a list sorted by size, as the
// duplicate search takes them up (two or more rows each), from a given row
// on; positions are row numbers.
class SizeRuns : public ContentClassifier::Upcoming {
public:
    SizeRuns(const FileTable& table, std::size_t from) : table_(table), from_(from) {}

    std::size_t start() const override { return from_; }
    bool next(std::size_t& at, std::vector<std::string>& paths) const override;

private:
    const FileTable& table_;
    std::size_t from_;
};

}  // namespace folivar
