#include "support/ScriptedClock.h"

namespace folivar::test {

ScriptedClock::ScriptedClock() : real_(platform::setClock(this)) {}

ScriptedClock::~ScriptedClock() {
    platform::setClock(real_);
}

std::uint32_t ScriptedClock::tickCount() {
    if (!ticks_.empty()) {
        lastTick_ = ticks_.front();
        ticks_.pop_front();
    }
    return lastTick_;
}

}  // namespace folivar::test
