#include "platform/Clock.h"

#include "platform/PosixClock.h"

namespace folivar::platform {

namespace {
Clock* current = nullptr;
}

Clock& clock() {
    if (current != nullptr) {
        return *current;
    }
    static PosixClock posix;
    return posix;
}

Clock* setClock(Clock* replacement) {
    Clock* previous = &clock();
    current = replacement;
    return previous;
}

}  // namespace folivar::platform
