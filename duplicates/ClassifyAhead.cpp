#include "duplicates/ClassifyAhead.h"

#include <algorithm>
#include <chrono>

#include "duplicates/ContentSplitter.h"
#include "platform/OpenFileLimit.h"
#include "platform/WorkStopped.h"

namespace folivar {

namespace {

// Sets handed to the helpers ahead of the caller, per helper.
constexpr std::size_t kSetsPerHelper = 4;
// Readers a helper holds at least; with fewer to share, fewer helpers.
constexpr std::size_t kLeastPerHelper = 4;
// How long the caller waits for a helper before it asks whether to stop (the
// window looks at its events meanwhile).
constexpr std::chrono::milliseconds kLookForStopEvery{20};

}  // namespace

struct ClassifyAhead::Set {
    std::vector<std::string> paths;
    std::uint64_t seq = 0;
    State state = State::Queued;  // guarded
    Sorted sorted;                // guarded; valid once Done
};

ClassifyAhead::ClassifyAhead(const ClassifyOptions& options, ReaderBudget::Shortage& shortage)
    : shortage_(shortage), start_(options.fromStart, options.waitsBeforeStart) {
    // The helpers share as many readers as the caller may hold, and never more
    // than a quarter of the process's descriptors: with the caller's half,
    // a quarter stays for the rest of the program.
    const std::size_t shared =
        std::min<std::uint64_t>(options.maxOpenFiles, platform::openFileLimit() / 4);
    if (options.requests > 1) {
        helpers_ = static_cast<int>(std::min<std::size_t>(
            static_cast<std::size_t>(options.requests), shared / kLeastPerHelper));
    }
    if (helpers_ > 0) {
        const auto count = static_cast<std::size_t>(helpers_);
        helperCapacity_ = shared / count;
        helperOptions_ = options;
        helperOptions_.memoryBudget = std::max<std::size_t>(options.memoryBudget / count, 1);
        helperOptions_.maxOpenFiles = helperCapacity_;
    }
}

ClassifyAhead::~ClassifyAhead() {
    {
        std::unique_lock lock(mutex_);
        leaveAll(lock);
    }
    stopHelpers();
}

std::optional<ClassifyAhead::Sorted> ClassifyAhead::take(const std::vector<std::string>& paths,
                                                         const UpcomingSets& upcoming,
                                                         platform::StopQuery& stop) {
    const std::size_t start = upcoming.start();
    if (lastStart_ && start <= *lastStart_) {
        // Another sequence: whatever was handed out belongs to the last one.
        std::unique_lock lock(mutex_);
        leaveAll(lock);
        start_.restart();
    }
    lastStart_ = start;
    startWhenWorthIt();
    if (!pool_) {
        return std::nullopt;
    }

    std::shared_ptr<Set> mine;
    if (!ahead_.empty()) {
        if (ahead_.front()->paths == paths) {
            mine = std::move(ahead_.front());
            ahead_.pop_front();
        } else {
            std::unique_lock lock(mutex_);
            leaveAll(lock);
        }
    }
    if (!mine) {
        nextAt_ = start;
        exhausted_ = false;
    }
    fill(upcoming);

    std::optional<Sorted> out;
    if (mine) {
        std::unique_lock lock(mutex_);
        if (mine->state == State::Queued) {
            mine->state = State::Left;  // no helper took it up: the caller is quicker
        }
        while (mine->state == State::Running) {
            callerWaits_ = true;
            sorted_.wait_for(lock, kLookForStopEvery);
            callerWaits_ = false;
            if (mine->state == State::Running) {
                lock.unlock();
                const bool stopping = stop.stopRequested();
                lock.lock();
                if (stopping) {
                    throw platform::WorkStopped();
                }
            }
        }
        if (mine->state == State::Done) {
            out = std::move(mine->sorted);
        }
    }
    endIfLast();
    return out;
}

void ClassifyAhead::startWhenWorthIt() {
    if (pool_ || helpers_ < 1 || !start_.due()) {
        return;
    }
    pool_.emplace(helpers_);
}

// Hands the helpers the sets after those already out, up to the bound. A set
// with more files than a helper may hold open stays the caller's.
void ClassifyAhead::fill(const UpcomingSets& upcoming) {
    const std::size_t bound = kSetsPerHelper * static_cast<std::size_t>(helpers_);
    while (!exhausted_ && ahead_.size() < bound) {
        auto set = std::make_shared<Set>();
        if (!upcoming.next(nextAt_, set->paths)) {
            exhausted_ = true;
            break;
        }
        set->seq = nextSeq_++;
        if (set->paths.size() > helperCapacity_) {
            set->state = State::Left;
        } else {
            pool_->submit(set->seq, [this, set] { sort(set); });
        }
        ahead_.push_back(std::move(set));
    }
}

void ClassifyAhead::sort(const std::shared_ptr<Set>& set) {
    {
        std::lock_guard lock(mutex_);
        if (set->state != State::Queued) {
            return;
        }
        set->state = State::Running;
    }
    Sorted sorted;
    bool done = false;
    try {
        ContentSplitter helper(helperOptions_);
        sorted.results = helper.classify(
            set->paths, ReaderBudget::forHelper(helperCapacity_, shortage_), cancelled_, true);
        sorted.stats = helper.statistics();
        done = true;
    } catch (...) {  // NOLINT(bugprone-empty-catch): given way, stopped, or out of memory:
                     // the caller sorts it
    }
    std::lock_guard lock(mutex_);
    if (done) {
        set->sorted = std::move(sorted);
    }
    set->state = done ? State::Done : State::Left;
    if (callerWaits_) {
        sorted_.notify_one();
    }
}

// Sets not yet taken up go to nobody; those being sorted finish unseen.
void ClassifyAhead::leaveAll(std::unique_lock<std::mutex>&) {
    for (const auto& set : ahead_) {
        if (set->state == State::Queued) {
            set->state = State::Left;
        }
    }
    ahead_.clear();
    exhausted_ = false;
}

// After the last set of a sequence the helpers go: the next sequence may find
// everything cached.
void ClassifyAhead::endIfLast() {
    if (exhausted_ && ahead_.empty()) {
        stopHelpers();
        exhausted_ = false;
        start_.restart();
    }
}

// Whatever a helper still sorts, nobody takes any more.
void ClassifyAhead::stopHelpers() {
    cancelled_.flag.store(true, std::memory_order_relaxed);
    pool_.reset();  // drops what has not started and waits for what runs
    cancelled_.flag.store(false, std::memory_order_relaxed);
}

}  // namespace folivar
