#include "filelist/RateLimiter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

#include "support/ScriptedClock.h"

namespace folivar {
namespace {

TEST(RateLimiter, OncePerIntervalAcrossTheTickWrapping) {
    test::ScriptedClock clock;
    RateLimiter limiter(250);
    // the interval counts from the last tick let through; the tick wraps at 2^32
    const std::pair<std::uint32_t, bool> ticks[] = {
        {0xFFFFFF00u, true},  {0xFFFFFF01u, false}, {0xFFFFFFF9u, false}, {0xFFFFFFFAu, true},
        {0x000000F3u, false}, {0x000000F4u, true},  {0x00000100u, false}};
    for (const auto& [tick, ready] : ticks) {
        clock.setTick(tick);
        EXPECT_EQ(limiter.ready(), ready) << tick;
    }
}

}  // namespace
}  // namespace folivar
