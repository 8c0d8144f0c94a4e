#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace folivar::platform {

// One run of a file's data and where it lies on the device.
struct Extent {
    std::int64_t logical = 0;   // offset in the file
    std::int64_t physical = 0;  // offset on the device
    std::int64_t length = 0;
    // False where the place says nothing of sharing: data kept inline with
    // the file's metadata, or not yet given a place on the device.
    bool placed = true;
    // Another file, or another range of this one, uses the same place.
    bool shared = false;
};

// The extents of the open file in file order (FIEMAP); nullopt where the file
// system cannot tell (tmpfs and others).
std::optional<std::vector<Extent>> extentsOf(int fd);

// Bytes of the first size bytes of a file laid out as extents that lie in
// places of their own on the device (placed, and, with exclusive, used by
// nothing else).
std::int64_t bytesPlaced(const std::vector<Extent>& extents, std::int64_t size, bool exclusive);

// Bytes of the first size bytes of a file laid out as duplicate that lie in
// the very same places as the same bytes of original: the data the two store
// once.
std::int64_t bytesStoredAlike(const std::vector<Extent>& original,
                              const std::vector<Extent>& duplicate, std::int64_t size);

}  // namespace folivar::platform
