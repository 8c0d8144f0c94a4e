#pragma once

#include <string>

#include "filelist/ProgressSink.h"

namespace folivar::bench {

// Keeps only what an operation showed last: its status text and the bar's
// position. Costs what a window that shows nothing would.
class LastProgress : public ProgressSink {
public:
    std::string text;
    int position = 0;

    void status(const std::string& shown) override { text = shown; }
    void percent(int shown) override { position = shown; }
};

}  // namespace folivar::bench
