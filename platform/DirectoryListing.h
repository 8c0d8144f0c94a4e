#pragma once

#include <cstdint>
#include <string_view>

#include "platform/FileStatus.h"

namespace folivar::platform {

struct DirectoryEntry {
    std::string_view name;  // NUL-terminated; valid until the next call to next()
    EntryKind kind = EntryKind::Unknown;
};

// One folder opened for listing. "." and ".." are never returned.
class DirectoryListing {
public:
    virtual ~DirectoryListing() = default;

    // Device and inode of the folder itself.
    virtual std::uint64_t device() const = 0;
    virtual std::uint64_t inode() const = 0;

    // The next entry in the file system's own order; false at the end of the
    // listing or when reading it fails.
    virtual bool next(DirectoryEntry& entry) = 0;

    // Status of an entry of this folder, following a symbolic link when asked.
    // May be called from several threads at once, also while one calls next()
    // (entry's name then lives elsewhere than next()'s buffer).
    virtual bool status(const DirectoryEntry& entry, bool follow, FileStatus& out) = 0;
};

}  // namespace folivar::platform
