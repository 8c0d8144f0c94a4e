#pragma once

#include <cstdint>

namespace folivar::platform {

// What a folder listing tells of an entry without asking for its status.
enum class EntryKind : std::uint8_t { Unknown, Directory, Regular, SymbolicLink, Other };

struct FileTime {
    std::int64_t seconds = 0;  // since 1 January 1970, UTC
    std::int32_t nanoseconds = 0;

    friend bool operator==(const FileTime&, const FileTime&) = default;
};

// The status of one file, as far as the engine needs it.
struct FileStatus {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint32_t mode = 0;   // type and permission bits, as st_mode
    std::uint32_t owner = 0;  // the owning user's id
    std::uint32_t group = 0;  // the owning group's id
    std::uint32_t links = 0;  // the names it has (hard links)
    std::int64_t size = 0;
    bool hasBirthTime = false;
    FileTime birthTime;  // valid when hasBirthTime
    FileTime changeTime;
    FileTime accessTime;
    FileTime modificationTime;

    bool isDirectory() const;
    bool isRegular() const;
    bool isSymbolicLink() const;
    bool ownerCanWrite() const;
};

}  // namespace folivar::platform
