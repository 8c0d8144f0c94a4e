#include "platform/PosixClock.h"

#include <ctime>

namespace folivar::platform {

std::uint32_t PosixClock::tickCount() {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    const auto ms = static_cast<std::uint64_t>(ts.tv_sec) * 1000u +
                    static_cast<std::uint64_t>(ts.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(ms);
}

LocalTime PosixClock::localNow() {
    timespec ts{};
    ::clock_gettime(CLOCK_REALTIME, &ts);
    return toLocalTime(FileTime{ts.tv_sec, static_cast<std::int32_t>(ts.tv_nsec)});
}

std::uint32_t PosixClock::highResolutionCounter() {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    const auto ns = static_cast<std::uint64_t>(ts.tv_sec) * 1000000000u +
                    static_cast<std::uint64_t>(ts.tv_nsec);
    return static_cast<std::uint32_t>(ns);
}

}  // namespace folivar::platform
