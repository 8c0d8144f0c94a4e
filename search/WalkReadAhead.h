#pragma once

#include <chrono>
#include <cstddef>

namespace folivar {

// How far the walk's I/O may run ahead of its events: folders listed and
// entries' status read by several requests in flight, within a fixed bound, so
// memory stays flat however large the tree. The events, their order and their
// arguments are the same for every setting.
struct WalkReadAhead {
    // Requests in flight; 1 or less: the calling thread does every request
    // itself, one at a time.
    int requests = 8;
    // Whether the requests start with the walk. Otherwise they start once the
    // walk has had to wait for its own I/O a few times (a cold cache, a slow
    // disk or share): with everything cached, handing work between threads
    // costs more than it saves.
    bool fromStart = false;
    std::size_t waitsBeforeStart = 16;
    // Folders ahead of the one being reported that may be read already; each
    // holds a descriptor until the walk reaches it, so never more than the
    // descriptors' share allows (platform::descriptorShare), and fewer once
    // descriptors ran short.
    std::size_t folders = 64;
    // Entries listed but not yet reported: at most this many, plus
    // (requests + 4) batches.
    std::size_t entries = 16384;
    // Entries listed at a time, and entries whose status one request reads.
    std::size_t batch = 256;
    std::size_t chunk = 32;
    // Out of descriptors, the walk waits for them to be freed: as long as its
    // own read-ahead still holds some, then this long for others' before it
    // counts the folder unreadable.
    std::chrono::milliseconds patience = std::chrono::seconds(5);
};

}  // namespace folivar
