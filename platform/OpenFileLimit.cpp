#include "platform/OpenFileLimit.h"

#include <sys/resource.h>

#include <algorithm>

namespace folivar::platform {

namespace {

// More than any search holds open; beyond it, libraries that visit every
// possible descriptor (closing them before starting a program) slow down.
constexpr rlim_t kCeiling = 65536;

}  // namespace

std::uint64_t raiseOpenFileLimit() {
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) {
        return 0;
    }
    const rlim_t wanted =
        limit.rlim_max == RLIM_INFINITY ? kCeiling : std::min(limit.rlim_max, kCeiling);
    if (limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < wanted) {
        const struct rlimit raised { wanted, limit.rlim_max };
        if (::setrlimit(RLIMIT_NOFILE, &raised) == 0) {
            limit.rlim_cur = wanted;
        }
    }
    return limit.rlim_cur;
}

std::uint64_t openFileLimit() {
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return kCeiling;
    }
    return limit.rlim_cur;
}

std::size_t descriptorShare(std::size_t wanted) {
    return std::max<std::size_t>(std::min<std::uint64_t>(wanted, openFileLimit() / 2), 2);
}

}  // namespace folivar::platform
