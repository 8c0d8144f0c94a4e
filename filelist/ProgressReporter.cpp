#include "filelist/ProgressReporter.h"

#include "filelist/ListStatus.h"

namespace folivar {

int percentDone(std::size_t done, std::size_t total) {
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

ProgressReporter::ProgressReporter(ProgressSink& sink, std::size_t total,
                                   std::uint32_t passingTextMs)
    : sink_(sink), total_(total), passingTexts_(passingTextMs) {}

ProgressReporter::~ProgressReporter() {
    if (!heldBack_) {
        return;
    }
    try {
        sink_.status(*heldBack_);
    } catch (...) {
        // Only a text is lost; the error that may be on its way matters more.
    }
}

void ProgressReporter::status(const std::string& text) {
    heldBack_.reset();
    sink_.status(text);
}

void ProgressReporter::passing(const std::string& text) {
    if (passingTexts_.ready()) {
        heldBack_.reset();
        sink_.status(text);
    } else {
        heldBack_ = text;
    }
    sink_.working();
}

void ProgressReporter::rowsDone(std::size_t done) {
    done_ = done;
    const int percent = percentDone(done_, total_);
    if (percent != shown_) {
        shown_ = percent;
        sink_.percent(percent);
        status(std::to_string(percent) + "% are completed. " + kPleaseWait);
    }
    sink_.working();
}

}  // namespace folivar
