#include "renaming/StatusAhead.h"

#include "platform/FileSystem.h"

namespace folivar {

StatusAhead::StatusAhead(std::size_t count, PathOf pathOf)
    : pathOf_(std::move(pathOf)), found_(count), thread_([this] { run(); }) {}

StatusAhead::~StatusAhead() {
    stopping_.store(true, std::memory_order_relaxed);
    thread_.join();
}

void StatusAhead::run() {
    platform::FileSystem& fs = platform::fileSystem();
    for (std::size_t i = 0; i < found_.size(); ++i) {
        if (stopping_.load(std::memory_order_relaxed)) {
            break;
        }
        found_[i].exists = fs.status(pathOf_(i), false, found_[i].status);
        ready_.store(i + 1, std::memory_order_release);
        ready_.notify_one();
    }
}

bool StatusAhead::status(std::size_t index, platform::FileStatus& out) {
    for (std::size_t ready = ready_.load(std::memory_order_acquire); ready <= index;
         ready = ready_.load(std::memory_order_acquire)) {
        ready_.wait(ready, std::memory_order_acquire);
    }
    out = found_[index].status;
    return found_[index].exists;
}

}  // namespace folivar
