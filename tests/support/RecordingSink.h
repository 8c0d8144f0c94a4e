#pragma once

#include <string>
#include <vector>

#include "filelist/ProgressSink.h"

namespace folivar::test {

// Records what an operation shows: the status texts, the bar's positions, and
// everything in one log in order ("status: ...", "progress 40",
// "showProgress", "hideProgress"), and how often the operation said it was
// still working.
class RecordingSink : public ProgressSink {
public:
    std::vector<std::string> statuses;
    std::vector<int> percents;
    std::vector<std::string> log;
    int workingCalls = 0;

    void status(const std::string& text) override {
        statuses.push_back(text);
        log.push_back("status: " + text);
    }
    void percent(int percent) override {
        percents.push_back(percent);
        log.push_back("progress " + std::to_string(percent));
    }
    void progressShown(bool shown) override {
        log.push_back(shown ? "showProgress" : "hideProgress");
    }
    void working() override { ++workingCalls; }

    // The last status text; empty when none was shown.
    std::string lastStatus() const { return statuses.empty() ? std::string() : statuses.back(); }
};

}  // namespace folivar::test
