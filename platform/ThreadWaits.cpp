#include "platform/ThreadWaits.h"

#include <sys/resource.h>

namespace folivar::platform {

std::uint64_t threadWaits() {
    struct rusage usage {};
    if (::getrusage(RUSAGE_THREAD, &usage) != 0) {
        return 0;
    }
    return static_cast<std::uint64_t>(usage.ru_nvcsw);
}

}  // namespace folivar::platform
