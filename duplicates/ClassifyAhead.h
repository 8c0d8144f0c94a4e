#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "duplicates/ClassifiedFile.h"
#include "duplicates/ClassifyOptions.h"
#include "duplicates/ClassifyStatistics.h"
#include "duplicates/ReaderBudget.h"
#include "duplicates/UpcomingSets.h"
#include "platform/HelperStart.h"
#include "platform/IoPool.h"
#include "platform/StopQuery.h"

namespace folivar {

// Sorts the file sets that follow the caller's current one on helper threads,
// each set by a splitter of its own (ContentSplitter) within a share of the budgets, so that
// several files are read at once. The caller takes the sets in its own order,
// on its own thread; a set no helper has taken up yet, or one a helper gave
// back, it sorts itself. Everything but the helpers' sorting runs on the
// caller's thread.
class ClassifyAhead {
public:
    struct Sorted {
        std::vector<ClassifiedFile> results;
        ClassifyStatistics stats;
    };

    // shortage: the caller's, for the helpers to give way to it.
    ClassifyAhead(const ClassifyOptions& options, ReaderBudget::Shortage& shortage);
    ~ClassifyAhead();
    ClassifyAhead(const ClassifyAhead&) = delete;
    ClassifyAhead& operator=(const ClassifyAhead&) = delete;

    // The set of paths as a helper sorted it, once it has; nullopt: the
    // caller sorts it itself. Starts the helpers once it is worth it and
    // hands them the sets upcoming holds, a bounded number ahead. While it
    // waits for a helper it asks stop every little while; asked to stop, it
    // throws platform::WorkStopped.
    std::optional<Sorted> take(const std::vector<std::string>& paths, const UpcomingSets& upcoming,
                               platform::StopQuery& stop);

    // Whether the helpers are at work: the caller has had to wait for the disk.
    bool started() const { return pool_.has_value(); }

    // Helpers there are at most, and the readers each may hold.
    int helpers() const { return helpers_; }
    std::size_t helperCapacity() const { return helperCapacity_; }

private:
    enum class State : std::uint8_t {
        Queued,   // waits for a helper
        Running,  // a helper sorts it
        Done,
        Left,  // for the caller: too large for a helper, given back, or taken by the caller
    };
    struct Set;

    void startWhenWorthIt();
    void fill(const UpcomingSets& upcoming);
    void sort(const std::shared_ptr<Set>& set);
    void leaveAll(std::unique_lock<std::mutex>& lock);
    void endIfLast();
    // The helpers stop at their next read and are joined.
    void stopHelpers();

    // What the helpers ask before each read: whether their work is wanted still.
    class Cancelled : public platform::StopQuery {
    public:
        bool stopRequested() override { return flag.load(std::memory_order_relaxed); }
        std::atomic<bool> flag{false};
    };

    ReaderBudget::Shortage& shortage_;
    int helpers_ = 0;
    std::size_t helperCapacity_ = 0;
    ClassifyOptions helperOptions_;

    // Guards the sets' states and what the helpers hand back.
    std::mutex mutex_;
    std::condition_variable sorted_;
    bool callerWaits_ = false;

    // The caller's own: the sets handed out, in its order, and where the next
    // one is to be looked for.
    std::deque<std::shared_ptr<Set>> ahead_;
    std::size_t nextAt_ = 0;
    bool exhausted_ = false;
    std::uint64_t nextSeq_ = 0;
    std::optional<std::size_t> lastStart_;
    platform::HelperStart start_;

    Cancelled cancelled_;

    // Last: its threads end before anything they use.
    std::optional<platform::IoPool> pool_;
};

}  // namespace folivar
