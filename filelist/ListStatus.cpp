#include "filelist/ListStatus.h"

namespace folivar {

std::string filesInListText(std::size_t rowCount) {
    return std::to_string(rowCount) + " files in list";
}

ButtonsAfterRemoval buttonsAfterRemoval(std::size_t rowCount) {
    return {rowCount < 1, rowCount < 2};
}

void report(const StatusSink& sink, const std::string& text) {
    if (sink) {
        sink(text);
    }
}

}  // namespace folivar
