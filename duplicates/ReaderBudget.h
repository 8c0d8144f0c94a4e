#pragma once

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
class ReaderBudget {
public:
    // wanted: how many readers the caller would like to hold at once.
    // patience: how long to wait for descriptors before giving up on a file.
    explicit ReaderBudget(std::size_t wanted,
                          std::chrono::milliseconds patience = std::chrono::seconds(5));

    // The readers to hold at once: as many as wanted, but at most half the
    // descriptors the process may have open (the rest of the program needs
    // some too), and never fewer than 2.
    std::size_t capacity() const { return capacity_; }

    // Opens path for reading. When descriptors run out, makeRoom is asked to
    // close a reader the caller holds (it answers false when it has none to
    // spare) and the open is tried again; with nothing to spare, it waits with
    // growing pauses for others to close theirs. nullptr when the file cannot
    // be read, or descriptors stayed short for longer than the patience.
    std::unique_ptr<platform::FileReader> open(const std::string& path,
                                               const std::function<bool()>& makeRoom) const;

private:
    std::size_t capacity_;
    std::chrono::milliseconds patience_;
};

}  // namespace folivar
