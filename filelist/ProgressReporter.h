#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace folivar {

// Rows done x 100 / row count, rounded to the nearest whole number, halves to
// the even one (1 of 8 gives 12, 3 of 8 gives 38), never above 100 (the bar's
// range). 0 for an empty list.
int PercentDone(std::size_t done, std::size_t total);

// Reports a long command's progress after each row, but only when the shown
// percentage changes, so 100,000 rows do not mean 100,000 repaints.
class ProgressReporter {
public:
    // percent: the bar's new position; status: "40% are completed. Please wait..."
    struct Callbacks {
        std::function<void(int percent)> percent;
        std::function<void(const std::string& text)> status;
    };

    ProgressReporter(std::size_t total, Callbacks callbacks);

    // One more row is done.
    void rowDone();

    // Rows done so far.
    std::size_t done() const { return done_; }

private:
    std::size_t total_;
    std::size_t done_ = 0;
    int shown_ = -1;
    Callbacks callbacks_;
};

}  // namespace folivar
