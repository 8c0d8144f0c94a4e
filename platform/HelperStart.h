#pragma once

#include <cstddef>
#include <cstdint>

namespace folivar::platform {

// When to start helper threads for a caller's I/O: at once if asked to, else
// once the caller has had to wait for the disk (or a share, or a page) a few
// times since it began. With everything cached, handing work between threads
// costs more than it saves; a caller that keeps waiting gains from having
// several requests in flight.
class HelperStart {
public:
    // How often the calling thread has waited so far (threadWaits()).
    using WaitCount = std::uint64_t (*)();

    // Steps between two looks at the waits: a look costs a system call.
    static constexpr unsigned kLookEvery = 4;

    HelperStart(bool fromStart, std::size_t waitsBeforeStart, WaitCount waits);
    HelperStart(bool fromStart, std::size_t waitsBeforeStart);

    // Whether the helpers start with the caller's first step.
    bool atOnce() const { return fromStart_; }

    // Asked once per step of the caller's work (a set, a batch, a folder),
    // on its thread: whether the helpers are due now. Looks at the waits only
    // every kLookEvery steps.
    bool due();

    // Counts the waits from here on: a new sequence, or the helpers went.
    void restart();

private:
    bool fromStart_;
    std::size_t waitsBeforeStart_;
    WaitCount waits_;
    std::uint64_t waitsBefore_;
    unsigned untilLook_ = 0;
};

}  // namespace folivar::platform
