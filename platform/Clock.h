#pragma once

#include <cstdint>

#include "platform/LocalTime.h"

namespace folivar::platform {

// The clocks the engine reads; tests put a scripted one in place.
class Clock {
public:
    virtual ~Clock() = default;

    // Milliseconds since an arbitrary start, wrapping at 2^32.
    virtual std::uint32_t tickCount() = 0;

    // The local date and time of day now.
    virtual LocalTime localNow() = 0;

    // A fast-running counter (nanoseconds), low 32 bits.
    virtual std::uint32_t highResolutionCounter() = 0;
};

// The clock in use: the system's unless a test replaced it.
Clock& clock();

// Puts another clock in place (nullptr: the system's again) and returns the one
// that was in use. The caller keeps ownership.
Clock* setClock(Clock* replacement);

}  // namespace folivar::platform
