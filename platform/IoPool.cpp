#include "platform/IoPool.h"

#include <algorithm>

namespace folivar::platform {

IoPool::IoPool(int threads) {
    threads_.reserve(static_cast<std::size_t>(std::max(threads, 0)));
    for (int i = 0; i < threads; ++i) {
        threads_.emplace_back([this] { serve(); });
    }
}

IoPool::~IoPool() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        pending_.clear();
    }
    wake_.notify_all();
    for (std::thread& t : threads_) {
        t.join();
    }
}

bool IoPool::later(const Request& a, const Request& b) {
    return a.priority != b.priority ? a.priority > b.priority : a.order > b.order;
}

void IoPool::submit(std::uint64_t priority, std::function<void()> request) {
    bool wakeOne = false;
    {
        std::lock_guard lock(mutex_);
        if (threads_.empty() || stopping_) {
            return;
        }
        pending_.push_back(Request{priority, submitted_++, std::move(request)});
        std::push_heap(pending_.begin(), pending_.end(), later);
        wakeOne = idle_ > 0;
    }
    if (wakeOne) {
        wake_.notify_one();
    }
}

void IoPool::serve() {
    std::unique_lock lock(mutex_);
    for (;;) {
        while (!stopping_ && pending_.empty()) {
            ++idle_;
            wake_.wait(lock);
            --idle_;
        }
        if (stopping_) {
            return;
        }
        std::pop_heap(pending_.begin(), pending_.end(), later);
        std::function<void()> run = std::move(pending_.back().run);
        pending_.pop_back();
        lock.unlock();
        try {
            run();
        } catch (...) {  // NOLINT(bugprone-empty-catch): the request reports its own failure
        }
        run = nullptr;  // whatever it holds goes before the lock is taken again
        lock.lock();
    }
}

}  // namespace folivar::platform
