#pragma once

#include <cstdint>
#include <deque>
#include <optional>

#include "platform/Clock.h"

namespace folivar::test {

// Puts itself in place of the system clock for its lifetime. The millisecond
// tick comes from a script, then moves on by a fixed step each time it is read
// (by none at first, so the last tick comes again); the local time and the
// fast counter are the system's unless set.
class ScriptedClock : public platform::Clock {
public:
    ScriptedClock();
    ~ScriptedClock() override;
    ScriptedClock(const ScriptedClock&) = delete;
    ScriptedClock& operator=(const ScriptedClock&) = delete;

    void scriptTicks(std::deque<std::uint32_t> ticks) { ticks_ = std::move(ticks); }
    // The next tick read, and how far each read moves it on.
    void setTick(std::uint32_t next) { next_ = next; }
    void stepTicks(std::uint32_t step) { step_ = step; }
    void setLocalNow(const platform::LocalTime& now) { now_ = now; }
    void setCounter(std::uint32_t value) { counter_ = value; }

    std::uint32_t tickCount() override;
    platform::LocalTime localNow() override;
    std::uint32_t highResolutionCounter() override;

private:
    platform::Clock* real_;
    std::deque<std::uint32_t> ticks_;
    std::uint32_t next_ = 0;
    std::uint32_t step_ = 0;
    std::optional<platform::LocalTime> now_;
    std::optional<std::uint32_t> counter_;
};

}  // namespace folivar::test
