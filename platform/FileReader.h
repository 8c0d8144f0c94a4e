#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/FileStatus.h"

namespace folivar::platform {

// Why a file could not be opened for reading.
enum class OpenFailure : std::uint8_t {
    None,
    Unreadable,        // missing, refused, not a regular file, or made up by the kernel
    OutOfDescriptors,  // the process or the system holds too many open files
};

// A regular file opened for reading from its start, in order.
class FileReader {
public:
    virtual ~FileReader() = default;

    // The status of the open file (device, inode, size, times).
    virtual const FileStatus& status() const = 0;

    // Reads up to size bytes; the count read, 0 at the end, -1 on a failure.
    virtual std::int64_t read(char* buffer, std::size_t size) = 0;

    // Asks for length bytes from offset to be fetched ahead of the reads that
    // will want them; returns at once. Only a hint: nothing fails.
    virtual void willNeed(std::int64_t offset, std::int64_t length) {
        static_cast<void>(offset);
        static_cast<void>(length);
    }
};

}  // namespace folivar::platform
