#include "filelist/ProgressReporter.h"

#include <utility>

namespace folivar {

int PercentDone(std::size_t done, std::size_t total) {
    if (total == 0) {
        return 0;
    }
    const std::size_t scaled = done * 100;
    std::size_t quotient = scaled / total;
    const std::size_t twiceRemainder = (scaled % total) * 2;
    if (twiceRemainder > total || (twiceRemainder == total && quotient % 2 == 1)) {
        ++quotient;
    }
    return quotient > 100 ? 100 : static_cast<int>(quotient);
}

ProgressReporter::ProgressReporter(std::size_t total, Callbacks callbacks)
    : total_(total), callbacks_(std::move(callbacks)) {}

void ProgressReporter::rowDone() {
    ++done_;
    const int percent = PercentDone(done_, total_);
    if (percent == shown_) {
        return;
    }
    shown_ = percent;
    if (callbacks_.percent) {
        callbacks_.percent(percent);
    }
    if (callbacks_.status) {
        callbacks_.status(std::to_string(percent) + "% are completed. Please wait...");
    }
}

}  // namespace folivar
