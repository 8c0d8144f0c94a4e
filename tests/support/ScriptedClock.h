#pragma once

#include <cstdint>
#include <deque>

#include "platform/Clock.h"

namespace folivar::test {

// Puts itself in place of the system clock for its lifetime. Ticks are handed
// out from a script (then the last one again); the local time is fixed.
class ScriptedClock : public platform::Clock {
public:
    ScriptedClock();
    ~ScriptedClock() override;
    ScriptedClock(const ScriptedClock&) = delete;
    ScriptedClock& operator=(const ScriptedClock&) = delete;

    void scriptTicks(std::deque<std::uint32_t> ticks) { ticks_ = std::move(ticks); }
    void setLocalNow(const platform::LocalTime& now) { now_ = now; }
    void setCounter(std::uint32_t value) { counter_ = value; }

    std::uint32_t tickCount() override;
    platform::LocalTime localNow() override { return now_; }
    std::uint32_t highResolutionCounter() override { return counter_; }

private:
    platform::Clock* real_;
    std::deque<std::uint32_t> ticks_;
    std::uint32_t lastTick_ = 0;
    platform::LocalTime now_;
    std::uint32_t counter_ = 0;
};

}  // namespace folivar::test
