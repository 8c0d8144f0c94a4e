#include "filelist/RateLimiter.h"

#include "platform/Clock.h"

namespace folivar {

bool RateLimiter::ready() {
    if (intervalMs_ == 0) {
        return true;
    }
    const std::uint32_t now = platform::clock().tickCount();
    // Unsigned difference, so the tick wrapping at 2^32 does no harm.
    if (started_ && now - last_ < intervalMs_) {
        return false;
    }
    started_ = true;
    last_ = now;
    return true;
}

}  // namespace folivar
