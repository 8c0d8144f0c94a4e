#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>

#include "datetaken/DateTimeText.h"

namespace folivar {

// What a library's read of one file gave, or that it was given up on.
struct BoundedDate {
    std::optional<StampedTime> taken;
    bool givenUp = false;
};

// Runs `read` on a thread of its own and waits for it, but gives up once that
// thread has spent `limit` of processor time: a damaged container of a few
// hundred bytes can keep MediaInfo's parser counting for a minute. Processor
// time, not wall time, so a slow disk or a loaded machine is waited for and
// gives the same date as a fast one. A read given up on runs on to its own
// end, holding nothing of the caller's; the process waits for such reads
// before it exits, since they may still use the library's globals. While two
// such reads run, no new read starts until one has ended. When no
// thread can be started, `read` runs on the caller's thread. Never throws
// what `read` does not.
BoundedDate readWithinCpu(std::chrono::milliseconds limit,
                          std::function<std::optional<StampedTime>()> read);

// Reads given up on that still run.
std::size_t givenUpReadsRunning();

// Waits until no read given up on still runs.
void waitForGivenUpReads();

}  // namespace folivar
