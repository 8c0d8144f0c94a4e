#include "platform/IoPool.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <latch>
#include <memory>
#include <optional>

namespace folivar::platform {
namespace {

using namespace std::chrono_literals;

TEST(IoPool, LowestPriorityFirstThenInTheOrderSubmitted) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::mutex mutex;
    std::vector<int> order;
    std::latch done(6);
    IoPool pool(1);
    pool.submit(0, [&] {
        released.wait();  // holds the only thread until everything is queued
        done.count_down();
    });
    for (const auto& [priority, tag] :
         std::vector<std::pair<int, int>>{{5, 50}, {1, 10}, {3, 30}, {1, 11}, {0, 0}}) {
        pool.submit(static_cast<std::uint64_t>(priority), [&, tag = tag] {
            std::lock_guard lock(mutex);
            order.push_back(tag);
            done.count_down();
        });
    }
    release.set_value();
    done.wait();
    EXPECT_EQ(order, (std::vector<int>{0, 10, 11, 30, 50}));
}

TEST(IoPool, SeveralRequestsInFlightAtOnce) {
    constexpr int kThreads = 4;
    std::mutex mutex;
    std::condition_variable changed;
    int inside = 0;
    int sawAll = 0;
    std::latch done(kThreads);
    {
        IoPool pool(kThreads);
        EXPECT_EQ(pool.threads(), kThreads);
        for (int i = 0; i < kThreads; ++i) {
            pool.submit(0, [&] {
                std::unique_lock lock(mutex);
                ++inside;
                changed.notify_all();
                // each waits until all are inside at once (or gives up)
                if (changed.wait_for(lock, 10s, [&] { return inside == kThreads; })) {
                    ++sawAll;
                }
                done.count_down();
            });
        }
        done.wait();
    }
    EXPECT_EQ(sawAll, kThreads);
}

// The request that runs is let go only once the destruction has dropped the
// one still waiting (its function goes, and with it what it holds), so the
// order of events is fixed whatever the threads' speed. A pool that kept the
// waiting request would never let the first go: the test's time limit ends it.
TEST(IoPool, DestructionDropsWhatHasNotStartedAndWaitsForWhatRuns) {
    std::promise<void> started;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    bool firstFinished = false;
    std::optional<IoPool> pool(std::in_place, 1);
    pool->submit(0, [&] {
        started.set_value();
        released.wait();
        firstFinished = true;
    });
    pool->submit(1, [letGo = std::shared_ptr<void>(nullptr, [&](void*) { release.set_value(); })] {
        ADD_FAILURE() << "a request that had not started ran";
    });
    started.get_future().wait();
    pool.reset();
    EXPECT_TRUE(firstFinished);
}

TEST(IoPool, WithoutThreadsNothingRunsAndAThrowingRequestHarmsNothing) {
    bool ran = false;
    {
        IoPool none(0);
        none.submit(0, [&] { ran = true; });
    }
    EXPECT_FALSE(ran);
    std::latch done(1);
    IoPool pool(1);
    pool.submit(0, [] { throw std::runtime_error("request failed"); });
    pool.submit(1, [&] { done.count_down(); });
    done.wait();  // the thread survived the exception
}

}  // namespace
}  // namespace folivar::platform
