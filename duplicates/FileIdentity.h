#pragma once

#include <cstdint>

#include "platform/FileStatus.h"

namespace folivar {

// What makes a file the one that was compared: the physical file (device and
// inode) and the state of its contents (size and modification time).
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int32_t modifiedNanoseconds = 0;

    static FileIdentity of(const platform::FileStatus& status);

    bool samePhysicalFile(const FileIdentity& other) const {
        return device == other.device && inode == other.inode;
    }

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

}  // namespace folivar
