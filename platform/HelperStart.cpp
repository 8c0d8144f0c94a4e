#include "platform/HelperStart.h"

#include "platform/ThreadWaits.h"

namespace folivar::platform {

HelperStart::HelperStart(bool fromStart, std::size_t waitsBeforeStart, WaitCount waits)
    : fromStart_(fromStart),
      waitsBeforeStart_(waitsBeforeStart),
      waits_(waits),
      waitsBefore_(waits()) {}

HelperStart::HelperStart(bool fromStart, std::size_t waitsBeforeStart)
    : HelperStart(fromStart, waitsBeforeStart, &threadWaits) {}

bool HelperStart::due() {
    if (fromStart_) {
        return true;
    }
    if (++untilLook_ < kLookEvery) {
        return false;
    }
    untilLook_ = 0;
    return waits_() - waitsBefore_ >= waitsBeforeStart_;
}

void HelperStart::restart() {
    waitsBefore_ = waits_();
    untilLook_ = 0;
}

}  // namespace folivar::platform
