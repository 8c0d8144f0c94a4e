#include "duplicates/SizeRuns.h"

namespace folivar {

bool SizeRuns::next(std::size_t& at, std::vector<std::string>& paths) const {
    const std::size_t count = table_.size();
    std::size_t first = at;
    while (first + 1 < count && table_[first].Size != table_[first + 1].Size) {
        ++first;
    }
    if (first + 1 >= count) {
        at = count;
        return false;
    }
    std::size_t end = first + 2;
    while (end < count && table_[end].Size == table_[first].Size) {
        ++end;
    }
    paths.clear();
    paths.reserve(end - first);
    for (std::size_t row = first; row < end; ++row) {
        paths.push_back(table_[row].file());
    }
    at = end;
    return true;
}

}  // namespace folivar
