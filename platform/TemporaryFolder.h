#pragma once

#include <cstdint>
#include <string>

namespace folivar::platform {

// The folder for temporary files: TMPDIR when it is set and not empty, else
// "/tmp". No trailing "/".
std::string temporaryFolder();

// Creates a new folder inside parent that only its owner can enter, named
// prefix followed by six random characters, and returns its path. It is
// created exclusively, so it was empty and nobody else's a moment ago. Throws
// std::system_error when it cannot be made.
std::string createUniqueFolder(const std::string& parent, const std::string& prefix);

// The user this process runs as: the owner of the folders it creates.
std::uint32_t currentUser();

// Seconds since 1 January 1970, UTC, now.
std::int64_t secondsSinceEpoch();

// Removes the folder if it is empty; never touches a file. False when it is
// still there.
bool removeEmptyFolder(const std::string& path);

}  // namespace folivar::platform
