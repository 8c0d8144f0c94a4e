#include "duplicates/ContentClassifier.h"

#include <utility>

#include "duplicates/ClassifyAhead.h"
#include "platform/WorkStopped.h"

namespace folivar {

ContentClassifier::ContentClassifier() : ContentClassifier(Options{}) {}

ContentClassifier::ContentClassifier(Options options) : options_(options), splitter_(options) {}

ContentClassifier::~ContentClassifier() = default;

std::vector<ContentClassifier::Result> ContentClassifier::classify(
    const std::vector<std::string>& paths, const Upcoming& upcoming, platform::StopQuery& stop) {
    if (options_.requests <= 1) {
        return classify(paths, stop);
    }
    if (!ahead_) {
        ahead_ = std::make_unique<ClassifyAhead>(options_, shortage_);
    }
    try {
        auto sorted = ahead_->take(paths, upcoming, stop);
        if (sorted) {
            stats_ = sorted->stats;
            return std::move(sorted->results);
        }
        hintReads_ = ahead_->started();
        return classify(paths, stop);
    } catch (const platform::WorkStopped&) {
        endSequence();  // the helpers stop at their next read and are joined
        throw;
    }
}

void ContentClassifier::endSequence() {
    ahead_.reset();
}

std::vector<ContentClassifier::Result> ContentClassifier::classify(
    const std::vector<std::string>& paths, platform::StopQuery& stop) {
    // A fresh budget: the process's limit may have changed since the last set.
    const ReaderBudget budget(options_.maxOpenFiles, options_.patience, &shortage_);
    try {
        auto results = splitter_.classify(paths, budget, stop, hintReads_);
        stats_ = splitter_.statistics();
        return results;
    } catch (...) {
        stats_ = splitter_.statistics();
        throw;
    }
}

}  // namespace folivar
