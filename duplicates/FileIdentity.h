#pragma once

#include <cstdint>

#include "platform/FileStatus.h"

namespace folivar {

// What makes a file the one that was compared: the physical file (device and
// inode) and the state of its contents (size, modification time, and the
// change time, which no user tool can set back after an edit).
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    platform::FileTime modified;
    platform::FileTime changed;

    static FileIdentity of(const platform::FileStatus& status);

    // One physical file: the same device and inode, or, on the safe side, the
    // same size and times to the nanosecond on two devices, whatever the
    // inodes say (one file seen through two mounts: an overlay with xino
    // gives its lower files inodes of its own, with the layer in their
    // high bits). No tool sets a change time, so two copies do not agree.
    bool samePhysicalFile(const FileIdentity& other) const;

    // The same physical file with the same contents, after a rename that
    // set its change time: device, inode, size and modification time, as a
    // proven removal compares what it has taken aside.
    bool sameUpToRename(const FileIdentity& now) const;

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

}  // namespace folivar
