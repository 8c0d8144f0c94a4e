#include "datetaken/CpuBoundedRead.h"

#include <pthread.h>
#include <time.h>

#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace folivar {

namespace {

// How often the caller looks at the reader's processor time.
constexpr std::chrono::milliseconds kLook{10};

// Reads given up on that may run at once: each keeps a processor busy until
// the library ends it, so a folder of damaged files waits here instead.
constexpr std::size_t kMostGivenUp = 2;

struct GivenUp {
    std::mutex mutex;
    std::condition_variable ended;
    std::size_t running = 0;
};

// Never destroyed, and the wait at exit registered only after the libraries'
// own globals exist, so it runs before they are torn down.
GivenUp& givenUp() {
    static GivenUp* const reads = [] {
        auto* made = new GivenUp;
        std::atexit([] { waitForGivenUpReads(); });
        return made;
    }();
    return *reads;
}

struct Job {
    std::function<std::optional<StampedTime>()> read;
    std::mutex mutex;
    std::condition_variable finished;
    std::optional<StampedTime> taken;
    bool done = false;
    bool abandoned = false;
};

void runJob(const std::shared_ptr<Job>& job) {
    std::optional<StampedTime> taken;
    try {
        taken = job->read();
    } catch (...) {
        // As a damaged file: no date from the metadata.
    }
    std::lock_guard lock(job->mutex);
    job->taken = taken;
    job->done = true;
    if (job->abandoned) {
        GivenUp& reads = givenUp();
        std::lock_guard count(reads.mutex);
        --reads.running;
        reads.ended.notify_all();
    } else {
        job->finished.notify_one();
    }
}

std::chrono::nanoseconds processorTime(pthread_t thread) {
    clockid_t clock{};
    timespec spent{};
    if (::pthread_getcpuclockid(thread, &clock) != 0 || ::clock_gettime(clock, &spent) != 0) {
        return std::chrono::nanoseconds::zero();
    }
    return std::chrono::seconds(spent.tv_sec) + std::chrono::nanoseconds(spent.tv_nsec);
}

}  // namespace

BoundedDate readWithinCpu(std::chrono::milliseconds limit,
                          std::function<std::optional<StampedTime>()> read) {
    GivenUp& reads = givenUp();  // the wait at exit is in place before any reader starts
    {
        std::unique_lock count(reads.mutex);
        reads.ended.wait(count, [&] { return reads.running < kMostGivenUp; });
    }
    auto job = std::make_shared<Job>();
    job->read = std::move(read);
    std::thread reader;
    try {
        reader = std::thread([job] { runJob(job); });
    } catch (const std::system_error&) {
        return BoundedDate{job->read(), false};
    }
    const pthread_t handle = reader.native_handle();
    reader.detach();
    std::unique_lock lock(job->mutex);
    while (!job->finished.wait_for(lock, kLook, [&] { return job->done; })) {
        // Not done, so the reader cannot have ended: it needs this lock first.
        if (processorTime(handle) >= limit) {
            job->abandoned = true;
            std::lock_guard count(reads.mutex);
            ++reads.running;
            return BoundedDate{std::nullopt, true};
        }
    }
    return BoundedDate{job->taken, false};
}

std::size_t givenUpReadsRunning() {
    GivenUp& reads = givenUp();
    std::lock_guard lock(reads.mutex);
    return reads.running;
}

void waitForGivenUpReads() {
    GivenUp& reads = givenUp();
    std::unique_lock lock(reads.mutex);
    reads.ended.wait(lock, [&] { return reads.running == 0; });
}

}  // namespace folivar
