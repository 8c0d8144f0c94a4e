#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "filelist/ProgressSink.h"
#include "filelist/RateLimiter.h"

namespace folivar {

// Rows done x 100 / row count, rounded to the nearest whole number, halves to
// the even one (1 of 8 gives 12, 3 of 8 gives 38), never above 100 (the bar's
// range). 0 for an empty list.
int percentDone(std::size_t done, std::size_t total);

// The one place that decides how often a long operation tells its sink: the
// bar and its "40% are completed. Please wait..." only when the percentage
// changes, so 100,000 rows do not mean 100,000 repaints; a passing text (the
// folder a scan enters) at most once per interval of the platform's tick, the
// last one held back being shown when a later text replaces it or the
// reporter goes; any other text at once. Every row done and every passing
// text also tells the sink that the operation is still working.
class ProgressReporter {
public:
    // A few passing texts a second are enough to see a scan move.
    static constexpr std::uint32_t kPassingTextMs = 250;

    explicit ProgressReporter(ProgressSink& sink, std::size_t total = 0,
                              std::uint32_t passingTextMs = kPassingTextMs);
    // Shows the passing text held back, if any, also when an error ends the
    // operation.
    ~ProgressReporter();
    ProgressReporter(const ProgressReporter&) = delete;
    ProgressReporter& operator=(const ProgressReporter&) = delete;

    // A text shown at once; a passing text held back is dropped.
    void status(const std::string& text);

    // A text soon replaced by the next one.
    void passing(const std::string& text);

    // One more row is done, or this many rows are done in all.
    void rowDone() { rowsDone(done_ + 1); }
    void rowsDone(std::size_t done);

    // A step with nothing to show (a file found, a row deleted).
    void working() { sink_.working(); }

    // Asked at every point where the operation can end with nothing half done.
    bool stopRequested() { return sink_.stopRequested(); }

private:
    ProgressSink& sink_;
    std::size_t total_;
    std::size_t done_ = 0;
    int shown_ = -1;
    RateLimiter passingTexts_;
    std::optional<std::string> heldBack_;
};

}  // namespace folivar
