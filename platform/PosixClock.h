#pragma once

#include "platform/Clock.h"

namespace folivar::platform {

class PosixClock : public Clock {
public:
    std::uint32_t tickCount() override;
    LocalTime localNow() override;
    std::uint32_t highResolutionCounter() override;
};

}  // namespace folivar::platform
