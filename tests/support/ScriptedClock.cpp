#include "support/ScriptedClock.h"

namespace folivar::test {

ScriptedClock::ScriptedClock() : real_(platform::setClock(this)) {}

ScriptedClock::~ScriptedClock() {
    platform::setClock(real_);
}

std::uint32_t ScriptedClock::tickCount() {
    if (!ticks_.empty()) {
        next_ = ticks_.front();
        ticks_.pop_front();
    }
    const std::uint32_t now = next_;
    next_ += step_;
    return now;
}

platform::LocalTime ScriptedClock::localNow() {
    return now_ ? *now_ : real_->localNow();
}

std::uint32_t ScriptedClock::highResolutionCounter() {
    return counter_ ? *counter_ : real_->highResolutionCounter();
}

}  // namespace folivar::test
