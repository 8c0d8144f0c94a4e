#pragma once

#include <cstddef>

#include "support/RecordingSink.h"

namespace folivar::test {

// A sink that records what an operation shows and asks it to stop from its
// nth question on (0: never), counting every question: a stop point chosen
// by how far the work got, never by the clock.
class StoppingSink : public RecordingSink {
public:
    explicit StoppingSink(std::size_t stopAt = 0) : stopAt_(stopAt) {}

    std::size_t questions = 0;

    bool stopRequested() override {
        ++questions;
        return stopAt_ != 0 && questions >= stopAt_;
    }

private:
    std::size_t stopAt_;
};

}  // namespace folivar::test
