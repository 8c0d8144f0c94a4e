#include "filelist/ListStatus.h"

#include "filelist/SizeSum.h"

namespace folivar {

std::string filesInListText(std::size_t rowCount) {
    return std::to_string(rowCount) + " files in list";
}

std::string deletionText(std::size_t rowCount, std::int32_t deleted, std::int32_t remained) {
    std::string text = filesInListText(rowCount) + "; Deleted - " + std::to_string(deleted);
    if (remained != 0) {
        text += "; Remained - " + std::to_string(remained);
    }
    return text;
}

std::string linkingText(std::size_t rowCount, std::int32_t shared, std::int32_t linked,
                        std::int32_t remained, std::int64_t reclaimed) {
    return filesInListText(rowCount) + "; Shared - " + std::to_string(shared) + "; Linked - " +
           std::to_string(linked) + "; Remained - " + std::to_string(remained) + "; Reclaimed - " +
           sizeText(static_cast<double>(reclaimed));
}

std::string stoppedText(const std::string& done) {
    return "Stopped - " + done;
}

}  // namespace folivar
