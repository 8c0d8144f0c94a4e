#pragma once

#include <cstdint>

namespace folivar::platform {

// What the kernel answered to a request to store a range of one file in the
// extents of another (FIDEDUPERANGE).
enum class SharingResult : std::uint8_t {
    Shared,       // the bytes were equal and are now stored once
    Differs,      // the kernel compared them under lock and found a difference
    Unsupported,  // this file system (or this pair of files) cannot share data
    Failed,       // refused for another reason (permission, an immutable file, I/O)
};

struct RangeSharing {
    SharingResult result = SharingResult::Failed;
    std::int64_t bytes = 0;  // shared, when Shared
};

// Asks the kernel to store length bytes at offset of duplicate in the extents
// that hold the same range of original, after comparing both ranges under
// lock. Both are open (read-only is enough for the owner). The range must be
// a whole number of the file system's blocks or end where both files end.
// The duplicate's access and modification times are put back if the call
// moved them.
RangeSharing shareDataRange(int original, int duplicate, std::int64_t offset, std::int64_t length);

}  // namespace folivar::platform
