#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "duplicates/DuplicateRecords.h"
#include "filelist/ProgressSink.h"
#include "platform/DataSharing.h"
#include "platform/Descriptor.h"
#include "platform/ExtentMap.h"

namespace folivar {

// A "Dupl" and its group's "Orig", open to have the duplicate's data stored
// in the original's extents (FIDEDUPERANGE). The duplicate stays a file of
// its own: name, inode, owner, mode, times and attributes as they were; the
// kernel compares the bytes under lock, so a file changed since the search
// is refused whatever its times say.
class SharingPair {
public:
    // The most asked of the kernel at once: some kernels cap a request
    // there, and it is the longest stretch between two safe points.
    static constexpr std::int64_t kChunk = 16 << 20;

    // Where the data of the last original opened lies, kept for the next
    // duplicate of its group: sharing moves none of it.
    struct OriginalExtents {
        std::string path;
        FileIdentity identity;
        std::vector<platform::Extent> extents;
    };

    // Opens both; false (nothing open) unless both are still the files that
    // were compared. last: the original's extents, read unless known, and
    // only where some of the duplicate's data is shared already (asking a
    // file system where data lies is not cheap on all).
    bool open(const std::string& duplicate, const DuplicateRecords::Pair& pair,
              OriginalExtents& last);

    std::int64_t size() const { return size_; }

    // Every byte of the duplicate already lies in the original's extents (a
    // run before this one shared them): there is nothing left to do.
    bool alreadyShared() const;

    // Shares the data chunk by chunk; between chunks the sink hears that the
    // work goes on. Shared only when every chunk was.
    platform::SharingResult share(ProgressSink& progress);

    // Only its first chunk, to learn whether the pair's file systems can share
    // data at all.
    platform::SharingResult shareFirstChunk();

    // The duplicate's data that lay, when opened, in places no other file
    // used: what sharing it with the original frees. Data kept inline with a
    // file's metadata is copied, not shared, and counts for nothing.
    std::int64_t ownBytes() const { return ownBytes_; }

private:
    platform::Descriptor original_;
    platform::Descriptor duplicate_;
    std::int64_t size_ = 0;
    // Of the duplicate when opened: its data (holes and inline data left
    // out), the part of it in places of its own, and the part in the
    // original's places.
    std::int64_t placedBytes_ = 0;
    std::int64_t ownBytes_ = 0;
    std::int64_t alikeBytes_ = 0;
};

}  // namespace folivar
