#pragma once

#include <cstdint>

namespace folivar {

// Lets something happen at most once per interval of the platform's
// millisecond tick, e.g. showing the folder a scan enters.
class RateLimiter {
public:
    explicit RateLimiter(std::uint32_t intervalMs) : intervalMs_(intervalMs) {}

    // True on the first call and then whenever the interval has passed since
    // the last call that returned true. An interval of 0 lets every call
    // through without reading the clock.
    bool ready();

private:
    std::uint32_t intervalMs_;
    std::uint32_t last_ = 0;
    bool started_ = false;
};

}  // namespace folivar
