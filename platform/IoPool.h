#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace folivar::platform {

// A few threads that carry out blocking I/O requests for one caller, so that
// several requests are in flight at once (a cold disk serves them together).
// Requests run lowest priority first, equal priorities in the order submitted.
// A request must not touch anything of the window; what it finds it hands
// back through state of its own that the caller synchronises.
class IoPool {
public:
    // threads 0: submit() drops every request; the caller does the work itself.
    explicit IoPool(int threads);
    // Drops the requests not started and waits for those running.
    ~IoPool();
    IoPool(const IoPool&) = delete;
    IoPool& operator=(const IoPool&) = delete;

    int threads() const { return static_cast<int>(threads_.size()); }

    // An exception that leaves a request is swallowed: a request reports its own
    // failures.
    void submit(std::uint64_t priority, std::function<void()> request);

private:
    struct Request {
        std::uint64_t priority;
        std::uint64_t order;
        std::function<void()> run;
    };
    static bool later(const Request& a, const Request& b);
    void serve();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<Request> pending_;  // a heap, the next request on top
    std::uint64_t submitted_ = 0;
    int idle_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace folivar::platform
