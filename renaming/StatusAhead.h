#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/FileStatus.h"

namespace folivar {

// The status of many paths (not following links), asked for on a thread of
// its own ahead of the caller, who takes them one by one in order: the undo
// looks at each file while the one before it is moved back. What it hands
// over may be a little old; the caller asks again where that matters.
class StatusAhead {
public:
    using PathOf = std::function<const std::string&(std::size_t index)>;

    StatusAhead(std::size_t count, PathOf pathOf);
    ~StatusAhead();
    StatusAhead(const StatusAhead&) = delete;
    StatusAhead& operator=(const StatusAhead&) = delete;

    // The status of path index (taken in order, from 0): false when it has none.
    bool status(std::size_t index, platform::FileStatus& out);

private:
    struct Found {
        platform::FileStatus status;
        bool exists = false;
    };

    void run();

    PathOf pathOf_;
    std::vector<Found> found_;
    std::atomic<std::size_t> ready_{0};
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace folivar
