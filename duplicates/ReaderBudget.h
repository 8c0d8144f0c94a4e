#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "platform/FileReader.h"

namespace folivar {

// How the duplicate search opens files when descriptors are scarce: it holds
// no more at once than the process may have open, and running out of
// descriptors is a reason to wait, never to call a file unreadable.
//
// Helpers that read ahead of the search share its descriptors on the
// search's terms: a helper never waits for one, and while the search itself
// is short of them, every helper gives its work back (GiveWay) and closes
// what it holds; the search then reads those files itself.
class ReaderBudget {
public:
    // Set while the search waits for descriptors.
    using Shortage = std::atomic<bool>;

    // Thrown by a helper's open or keepOn() when it must give way.
    struct GiveWay {};

    // The search's own budget. wanted: how many readers it would like to
    // hold at once. patience: how long to wait for descriptors before giving
    // up on a file. shortage: where it tells its helpers that it waits.
    explicit ReaderBudget(std::size_t wanted,
                          std::chrono::milliseconds patience = std::chrono::seconds(5),
                          Shortage* shortage = nullptr);

    // A helper's budget: capacity readers at most, giving way to the search
    // that owns shortage.
    static ReaderBudget forHelper(std::size_t capacity, Shortage& shortage);

    // The readers to hold at once: the descriptors' share for wanted
    // (platform::descriptorShare).
    std::size_t capacity() const { return capacity_; }

    // Opens path for reading. When descriptors run out, makeRoom is asked to
    // close a reader the caller holds (it answers false when it has none to
    // spare) and the open is tried again; with nothing to spare, it waits with
    // growing pauses for others to close theirs. nullptr when the file cannot
    // be read, or descriptors stayed short for longer than the patience.
    // A helper's open throws GiveWay instead of waiting.
    std::unique_ptr<platform::FileReader> open(const std::string& path,
                                               const std::function<bool()>& makeRoom) const;

    // For a helper between two reads: throws GiveWay while the search is
    // short of descriptors. Nothing for the search's own budget.
    void keepOn() const {
        if (helper_ && shortage_->load(std::memory_order_relaxed)) {
            throw GiveWay{};
        }
    }

private:
    std::size_t capacity_;
    std::chrono::milliseconds patience_;
    Shortage* shortage_;
    bool helper_ = false;
};

}  // namespace folivar
