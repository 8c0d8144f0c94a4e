#pragma once

#include <cstdint>

#include "platform/Clock.h"

namespace folivar::test {

// Stands in for the clock while it lives: the tick reads `now` and then moves
// on by `step`, so walk times come out exact. Dates come from the real clock.
class SteppingClock : public platform::Clock {
public:
    explicit SteppingClock(std::uint32_t step) : step_(step), real_(platform::setClock(this)) {}
    ~SteppingClock() override { platform::setClock(real_); }
    SteppingClock(const SteppingClock&) = delete;
    SteppingClock& operator=(const SteppingClock&) = delete;

    void set(std::uint32_t now) { now_ = now; }

    std::uint32_t tickCount() override {
        const std::uint32_t now = now_;
        now_ += step_;
        return now;
    }
    platform::LocalTime localNow() override { return real_->localNow(); }
    std::uint32_t highResolutionCounter() override { return real_->highResolutionCounter(); }

private:
    std::uint32_t now_ = 0;
    std::uint32_t step_;
    platform::Clock* real_;
};

}  // namespace folivar::test
