#pragma once

#include <chrono>
#include <cstddef>

namespace folivar {

// How the duplicate search sorts file sets by their contents: the memory and
// readers it may hold, the blocks it reads, and the helpers that sort ahead.
struct ClassifyOptions {
    std::size_t memoryBudget = std::size_t{64} << 20;  // for the blocks held at once
    std::size_t maxOpenFiles = 256;                    // readers open at once, at most
    std::size_t firstBlock = 1024;
    std::size_t largestBlock = std::size_t{1} << 20;
    // How long to wait for descriptors when the process has run out.
    std::chrono::milliseconds patience = std::chrono::seconds(5);
    // Sets sorted at once by helpers, each on a thread of its own, ahead
    // of the caller; 1 or less: the caller reads every file itself. The
    // helpers hold at most memoryBudget and maxOpenFiles between them,
    // besides the caller's own.
    int requests = 8;
    // Whether the helpers start with the first set. Otherwise they start
    // once the caller has had to wait for the disk a few times: with
    // everything cached, handing work between threads costs more than it
    // saves.
    bool fromStart = false;
    std::size_t waitsBeforeStart = 16;
};

}  // namespace folivar
